// The wall's light is worked out from the content texture the face is drawn from (its planes
// turned into colours first, for video kept as planes), once for each frame of the content.
#include "app/scene/scene_light.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "app/core/console.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/playback/texture_load.h"
#include "effects/led_fill.h"
#include "light/content_light.h"
#include "light/light_frame.h"
#include "light/light_programs.h"
#include "physical/adapted_eye.h"
#include "physical/photometry.h"
#include "physical/wall_setup.h"

namespace {

// A frame kept as planes, in the colours the effects' planar programs give it; the colours also
// go into `colours`, mipmapped, for the spill to read as it reads a picture.
double meanRelativeLuminanceOfPlanes(const EffectTextures& textures, GLuint& colours) {
    const TextureLevel y = readTextureLevel(textures.picture, 1),
                       u = readTextureLevel(textures.chroma[0], 1),
                       v = readTextureLevel(textures.chroma[1], 1);
    if (y.bytes.empty() || u.bytes.empty() || v.bytes.empty()) return 0.0;
    const YuvColours& yuvColours = *textures.yuv;
    std::vector<std::uint8_t> rgb(y.bytes.size() * 3);
    for (int row = 0; row < y.height; ++row) {
        const int chromaRow = std::min(row * u.height / y.height, u.height - 1);
        for (int column = 0; column < y.width; ++column) {
            const int chromaColumn = std::min(column * u.width / y.width, u.width - 1);
            const std::size_t at = std::size_t(row) * y.width + column;
            const std::size_t chromaAt = std::size_t(chromaRow) * u.width + chromaColumn;
            const float yuv[3] = {y.bytes[at] / 255.0f, u.bytes[chromaAt] / 255.0f,
                                  v.bytes[chromaAt] / 255.0f};
            for (int c = 0; c < 3; ++c) {
                const float level = yuvColours.matrix[c] * yuv[0] +
                                    yuvColours.matrix[3 + c] * yuv[1] +
                                    yuvColours.matrix[6 + c] * yuv[2] + yuvColours.offset[c];
                rgb[at * 3 + c] = std::uint8_t(std::clamp(level, 0.0f, 1.0f) * 255.0f + 0.5f);
            }
        }
    }
    GLint bound = 0, alignment = 4;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    if (colours == 0) glGenTextures(1, &colours);
    glBindTexture(GL_TEXTURE_2D, colours);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, y.width, y.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    return meanRelativeLuminance(rgb);
}

// The content's light, read again only when its texture or frame changed: its mean relative
// luminance, and its light over the patches the spill is cast from.
struct ContentLight {
    double meanRelative = 0;
    PatchLight patches{};
};

ContentLight contentLight(const EffectParameters& state) {
    static GLuint cachedTexture = 0;
    static std::uint64_t cachedSerial = 0;
    static ContentLight cached;
    static GLuint planeColours = 0;
    fitChosenWallPicture(pictureCatalogue, state.picture);
    const EffectTextures textures = effectTextures(pictureCatalogue, state.picture);
    const std::uint64_t serial = shownContent(pictureCatalogue, state.picture).uploadedSerial;
    if (textures.picture != cachedTexture || serial != cachedSerial) {
        if (textures.yuv != nullptr) {
            cached.meanRelative = meanRelativeLuminanceOfPlanes(textures, planeColours);
            cached.patches = patchLightOfTexture(planeColours);
        } else {
            cached.meanRelative = meanRelativeLuminanceOfTexture(textures.picture);
            cached.patches = patchLightOfTexture(textures.picture);
        }
        cachedTexture = textures.picture;
        cachedSerial = serial;
    }
    return cached;
}

bool sceneLightShown(const EffectParameters& state) {
    return wallSetup.realUnits && (state.dayScene || state.nightScene) &&
           glGenFramebuffers != nullptr && lightPrograms().linked;
}

bool lightFrameBegun = false;
bool startingLineWaits = false;

// A video not yet showing its first frame; a feed, which may never send one, is not waited for.
bool waitingForFirstFrame(const EffectParameters& state) {
    const ShownContent& shown = shownContent(pictureCatalogue, state.picture);
    return shown.uploadedSerial == 0 && !shown.source->live();
}

}  // namespace

LightView shownLightView(const EffectParameters& state) {
    return state.nightScene ? LightView::night : LightView::day;
}

std::string shownLightLine(const EffectParameters& state, LightView view) {
    const double area = wallSetup.wallWidthMetres() * wallSetup.wallHeightMetres();
    return lightLine(view,
                     lightFigures(lightSettings, view, contentLight(state).meanRelative, area));
}

void printStartingLightLine(const EffectParameters& state) {
    startingLineWaits = waitingForFirstFrame(state);
    if (!startingLineWaits) consolePrint("%s\n", shownLightLine(state, LightView::day).c_str());
}

void printPendingLightLine(const EffectParameters& state) {
    if (!startingLineWaits || waitingForFirstFrame(state)) return;
    startingLineWaits = false;
    consolePrint("%s\n", shownLightLine(state, LightView::day).c_str());
}

void beginSceneLight(const EffectParameters& state, int width, int height) {
    lightFrameBegun = sceneLightShown(state);
    if (lightFrameBegun) beginLightFrame(width, height);
}

void finishSceneLight(const EffectParameters& state) {
    if (!lightFrameBegun) return;
    lightFrameBegun = false;
    const bool day = shownLightView(state) == LightView::day;
    const double peakNits = day ? lightSettings.peakNitsDay : lightSettings.peakNitsNight;
    const double ambientLux = day ? lightSettings.ambientLuxDay : lightSettings.ambientLuxNight;
    LightFrame frame;
    const float width = float(wallSetup.wallWidthMetres());
    frame.wallCorner[0] = -width / 2;
    frame.wallCorner[1] = float(wallSetup.mountMetres);
    frame.wallRight[0] = width;
    frame.wallUp[1] = float(wallSetup.wallHeightMetres());
    const ContentLight content = contentLight(state);
    frame.patchNits = patchNitsOf(content.patches, peakNits);
    // The LED effects light a share of each cell, so a pixel at full level is brighter than
    // the wall's mean for white, which is its peak; their face between the LEDs is black.
    const bool ledEffect = state.mode != 0;
    frame.faceNitsAtFullLevel =
        ledEffect ? peakNits / ledCellLightShare(state.pixelRadius, state.tolerance) : peakNits;
    // The frame is read back as 8-bit sRGB, so the face's black is taken as the brightest of
    // its channels rounded up to the next step, decoded the same way.
    const double faceBlackLevel = (std::ceil(kLedFaceBlackLevel[2] * 255) + 0.5) / 255;
    frame.faceBlackLight = ledEffect ? linearFromSrgb(faceBlackLevel) : 0.0;
    frame.reflectedNits = reflectedLuminanceNits(ambientLux);
    frame.ambientLux = ambientLux;
    frame.adaptationNits = adaptationLuminanceNits(
        ambientLux, luminanceNits(content.meanRelative, peakNits) + frame.reflectedNits);
    frame.whiteNits = whiteLuminanceNits(ambientLux, peakNits);
    finishLightFrame(frame);
}
