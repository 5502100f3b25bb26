// The display callback: the normal view with the billboard face alone (and the blinking neon
// sign), or the day or night scene with ground, backdrop, frame model and face. The face is
// always drawn through the current effect program.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/callbacks.h"
#include "app/core/content_face.h"
#include "app/core/effect_keys.h"
#include "app/core/face_geometry.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/core/wall_clock.h"
#include "app/playback/content_playback.h"
#include "app/playback/texture_load.h"
#include "app/scene/eye_view.h"
#include "app/scene/projection.h"
#include "app/scene/real_units_view.h"
#include "app/scene/scene_light.h"
#include "app/scene_load.h"
#include "effects/effect_binding.h"
#include "obj/obj.h"
#include "physical/wall_setup.h"

namespace {

struct SceneTextures {
    int groundSlot;
    int backdropSlot;
};
constexpr SceneTextures kDayScene = {kDayGroundSlot, kDayBackdropSlot};
constexpr SceneTextures kNightScene = {kNightGroundSlot, kNightBackdropSlot};

// Ground and backdrop are modelled at half size and drawn scaled by this.
constexpr float kSceneScale = 2.0f;

struct TexturedCorner {
    float s, t;
    float x, y, z;
};
using Quad = TexturedCorner[4];

// Corners counter-clockwise as seen from the camera's starting place, so culling keeps them.
constexpr Quad kGround = {
    {0, 0, -60, 0, -80}, {0, 1, -60, 0, 80}, {1, 1, 60, 0, 80}, {1, 0, 60, 0, -80}};
constexpr Quad kBackdrop = {
    {1, 0, 60, -20, -50}, {1, 1, 60, 60, -50}, {0, 1, -60, 60, -50}, {0, 0, -60, -20, -50}};
// In the scene views the face is 40 by 20 whatever the picture, from height 10 to 30.
constexpr Quad kSceneFace = {
    {1, 0, 20, 10, 0}, {1, 1, 20, 30, 0}, {0, 1, -20, 30, 0}, {0, 0, -20, 10, 0}};

// The binder fed from the live effect state and the catalogue, as the slots stand now.
void bindFaceEffect(GLhandleARB handle) {
    bindEffect(handle, effectParameters,
               effectTextures(pictureCatalogue, effectParameters.picture));
}

void drawQuad(const Quad& quad) {
    glBegin(GL_QUADS);
    for (const TexturedCorner& c : quad) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
}

void drawFaceRect(const FaceRect& r) {
    const Quad quad = {{r.sRight, r.tBottom, r.right, r.bottom, 0},
                       {r.sRight, r.tTop, r.right, r.top, 0},
                       {r.sLeft, r.tTop, r.left, r.top, 0},
                       {r.sLeft, r.tBottom, r.left, r.bottom, 0}};
    drawQuad(quad);
}

void drawSceneView(const SceneTextures& scene) {
    loadPerspective(wholeNumberAspect(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)),
                    kSceneFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_TEXTURE_2D);

    glBindTexture(GL_TEXTURE_2D, pictureCatalogue.textureIds[scene.groundSlot]);
    glPushMatrix();
    glScalef(kSceneScale, kSceneScale, kSceneScale);
    drawQuad(kGround);
    glBindTexture(GL_TEXTURE_2D, pictureCatalogue.textureIds[scene.backdropSlot]);
    drawQuad(kBackdrop);
    glPopMatrix();

    // The frame takes the texture bound here; its own materials bring none. A model that
    // could not even be created (out of memory) has no index to draw.
    glBindTexture(GL_TEXTURE_2D, pictureCatalogue.textureIds[kFrameSlot]);
    if (billboardModel >= 0) obj::drawModel(billboardModel);

    if (shownContent(pictureCatalogue, effectParameters.picture).builtIn()) {
        bindFaceEffect(effectParameters.program);
        drawQuad(kSceneFace);
        bindFaceEffect(0);
        return;
    }
    // The user's content fitted to the board, the board's unlit LEDs around it.
    const FaceRect face =
        sceneContentFace(pictureInfo(pictureCatalogue, effectParameters.picture), wallSetup.fit);
    glDisable(GL_TEXTURE_2D);
    glColor3f(0, 0, 0);
    drawQuad(kSceneFace);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    bindFaceEffect(effectParameters.program);
    drawFaceRect(face);
    bindFaceEffect(0);
}

void switchNeonSign() {
    // The neon sign is the built-in picture's own; no content of the user's blinks.
    if (shownContent(pictureCatalogue, effectParameters.picture).builtInSlot == kNeonPictureSlot) {
        // Lit in even seconds, unlit in odd ones; the sign keeps asking for frames while shown.
        pictureCatalogue.textureIds[kNeonPictureSlot] =
            wallClockSecond() % 2 == 0 ? pictureCatalogue.textureIds[kNeonLitSlot]
                                       : pictureCatalogue.textureIds[kNeonUnlitSlot];
        glutPostRedisplay();
    }
}

void drawNormalView() {
    const int picture = effectParameters.picture;
    switchNeonSign();
    bindFaceEffect(effectParameters.program);

    if (!shownContent(pictureCatalogue, picture).builtIn()) {
        drawFaceRect(normalContentFace(pictureInfo(pictureCatalogue, picture)));
        bindFaceEffect(0);
        return;
    }
    const float h = normalFaceHalfHeight(pictureInfo(pictureCatalogue, picture));
    const float bottom = kNormalFaceCentreHeight - h;
    const float top = kNormalFaceCentreHeight + h;
    const Quad face = {{1, 0, kFaceHalfWidth, bottom, 0},
                       {1, 1, kFaceHalfWidth, top, 0},
                       {0, 1, -kFaceHalfWidth, top, 0},
                       {0, 0, -kFaceHalfWidth, bottom, 0}};
    drawQuad(face);
    bindFaceEffect(0);
}

}  // namespace

void display() {
    refreshChosenPicture();
    if (wallSetup.realUnits) printPendingLightLine(effectParameters);
    fitChosenWallPicture(pictureCatalogue, effectParameters.picture);
    const ViewportSize drawn = beginEyeViewFrame();
    beginSceneLight(effectParameters, drawn.width, drawn.height);
    glViewport(0, 0, drawn.width, drawn.height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    camera.look();
    glPushMatrix();
    if (wallSetup.realUnits) {
        if (!effectParameters.dayScene && !effectParameters.nightScene) switchNeonSign();
        drawRealUnitsView(effectParameters);
    } else if (effectParameters.dayScene) {
        drawSceneView(kDayScene);
    } else if (effectParameters.nightScene) {
        drawSceneView(kNightScene);
    } else {
        drawNormalView();
    }
    glPopMatrix();
    finishSceneLight(effectParameters);
    finishEyeViewFrame();
    glFlush();
    glutSwapBuffers();
}
