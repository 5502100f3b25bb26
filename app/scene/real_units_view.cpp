// The scenery is the program's own, modelled for a face 40 units wide, grown to metres so that
// viewers 300 m away still stand on the ground before the backdrop; the frame model is
// stretched to the face, and its posts below the walkway to the ground.
#include "app/scene/real_units_view.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>

#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/core/viewer_keys.h"
#include "app/scene/eye_view.h"
#include "effects/effect_binding.h"
#include "obj/obj.h"
#include "physical/wall_setup.h"

namespace {

// Ground and backdrop in metres: the ground reaches 800 m before the face (farther than any
// viewer the keys take there at the default pitch) and the backdrop stands 500 m behind it.
constexpr float kGroundHalfWidth = 600, kGroundNear = 800, kGroundFar = -800;
constexpr float kBackdropZ = -500, kBackdropBottom = -200, kBackdropTop = 600;
// The ground texture repeats every 100 m, as it covers the program's own ground about once.
constexpr float kGroundRepeatMetres = 100;

// The near plane follows the eye's distance from the face, so that depth stays fine enough to
// keep the face in front of its frame from any distance; the far plane takes in the backdrop.
constexpr double kNearPlaneShare = 0.1;
constexpr double kNearestPlaneMetres = 0.01;
constexpr double kFarthestNearPlaneMetres = 5;
constexpr double kFarPlaneMetres = 5000;

// The frame model, in its own units: the face it was made around is 40 wide, from height 10 to
// 30 (see the model generator); below kPostsTop only the posts and their bracing stand.
constexpr float kModelFaceWidth = 40, kModelFaceBottom = 10, kModelFaceHeight = 20;
constexpr float kPostsTop = 5;

struct Corner {
    float s, t, x, y, z;
};

void drawQuad(const Corner (&quad)[4]) {
    glBegin(GL_QUADS);
    for (const Corner& c : quad) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
}

void bindFaceEffect(GLhandleARB handle, const EffectParameters& state) {
    bindEffect(handle, state, effectTextures(pictureCatalogue, state.picture));
}

void loadRealUnitsPerspective() {
    const int width = glutGet(GLUT_WINDOW_WIDTH), height = std::max(1, glutGet(GLUT_WINDOW_HEIGHT));
    const Vector3 eye = camera.getPosition(), centre = faceCentre(wallSetup);
    const double distance =
        std::hypot(double(eye.x - centre.x), double(eye.y - centre.y), double(eye.z - centre.z));
    const double nearPlane =
        std::clamp(distance * kNearPlaneShare, kNearestPlaneMetres, kFarthestNearPlaneMetres);
    const double fieldOfView = eyeViewShown ? eyeViewFieldOfViewDegrees(wallSetup, height) : 45.0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, double(width) / height, nearPlane, kFarPlaneMetres);
    glMatrixMode(GL_MODELVIEW);
}

void drawScenery(int groundSlot, int backdropSlot) {
    glEnable(GL_TEXTURE_2D);
    const float sRepeat = 2 * kGroundHalfWidth / kGroundRepeatMetres;
    const float tRepeat = (kGroundNear - kGroundFar) / kGroundRepeatMetres;
    glBindTexture(GL_TEXTURE_2D, pictureCatalogue.textureIds[groundSlot]);
    drawQuad({{0, 0, -kGroundHalfWidth, 0, kGroundFar},
              {0, tRepeat, -kGroundHalfWidth, 0, kGroundNear},
              {sRepeat, tRepeat, kGroundHalfWidth, 0, kGroundNear},
              {sRepeat, 0, kGroundHalfWidth, 0, kGroundFar}});
    glBindTexture(GL_TEXTURE_2D, pictureCatalogue.textureIds[backdropSlot]);
    drawQuad({{1, 0, kGroundHalfWidth, kBackdropBottom, kBackdropZ},
              {1, 1, kGroundHalfWidth, kBackdropTop, kBackdropZ},
              {0, 1, -kGroundHalfWidth, kBackdropTop, kBackdropZ},
              {0, 0, -kGroundHalfWidth, kBackdropBottom, kBackdropZ}});
}

// The model drawn between two heights of its own, clipped there, under the current matrix.
void drawModelBetween(float bottom, float top) {
    const double above[4] = {0, 1, 0, -bottom};
    const double below[4] = {0, -1, 0, top};
    glClipPlane(GL_CLIP_PLANE0, above);
    glClipPlane(GL_CLIP_PLANE1, below);
    glEnable(GL_CLIP_PLANE0);
    glEnable(GL_CLIP_PLANE1);
    obj::drawModel(billboardModel);
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
}

// The frame stretched to the face; the posts below the walkway stretched from the ground up
// to where the stretched frame leaves them (nothing when the face stands too low for them).
void drawFittedFrame() {
    if (billboardModel < 0) return;
    glBindTexture(GL_TEXTURE_2D, pictureCatalogue.textureIds[kFrameSlot]);
    const float sx = float(wallSetup.wallWidthMetres()) / kModelFaceWidth;
    const float sy = float(wallSetup.wallHeightMetres()) / kModelFaceHeight;
    const float sz = std::min(sx, sy);
    const float mount = float(wallSetup.mountMetres);
    glPushMatrix();
    glTranslatef(0, mount, 0);
    glScalef(sx, sy, sz);
    glTranslatef(0, -kModelFaceBottom, 0);
    drawModelBetween(kPostsTop, 1e6f);
    glPopMatrix();
    const float postsTopMetres = mount + (kPostsTop - kModelFaceBottom) * sy;
    if (postsTopMetres <= 0) return;
    glPushMatrix();
    glScalef(sx, postsTopMetres / kPostsTop, sz);
    drawModelBetween(-1e6f, kPostsTop);
    glPopMatrix();
}

void drawFace(const EffectParameters& state) {
    const float halfWidth = float(wallSetup.wallWidthMetres() / 2);
    const float bottom = float(wallSetup.mountMetres);
    const float top = float(wallSetup.mountMetres + wallSetup.wallHeightMetres());
    bindFaceEffect(state.program, state);
    drawQuad({{1, 0, halfWidth, bottom, 0},
              {1, 1, halfWidth, top, 0},
              {0, 1, -halfWidth, top, 0},
              {0, 0, -halfWidth, bottom, 0}});
    bindFaceEffect(0, state);
}

}  // namespace

void drawRealUnitsView(const EffectParameters& state) {
    loadRealUnitsPerspective();
    if (state.dayScene || state.nightScene) {
        drawScenery(state.dayScene ? kDayGroundSlot : kNightGroundSlot,
                    state.dayScene ? kDayBackdropSlot : kNightBackdropSlot);
        drawFittedFrame();
    }
    drawFace(state);
}
