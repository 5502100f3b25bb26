// The picture catalogue: the fourteen texture slots of the scene with their roles and files,
// and for each billboard picture its size and cell step. Free of GL calls; app/texture_load
// fills it from the files.
#pragma once

#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/core/frame_rate_meter.h"
#include "bmp/dib_image.h"
#include "effects/effect_binding.h"
#include "frames/frame_source.h"

// Slots by role. Slots 0 to 5 are the billboard pictures, picture number = slot, the last
// being the neon sign (unlit); the scene's own textures follow.
constexpr int kPictureCount = 6;
enum TextureSlot : int {
    kNeonPictureSlot = kPictureCount - 1,
    kNoiseSlot,
    kDayGroundSlot,
    kDayBackdropSlot,
    kNightGroundSlot,
    kNightBackdropSlot,
    kFrameSlot,
    kNeonLitSlot,
    kNeonUnlitSlot,  // a copy of slot 5's name, made after loading
    kTextureSlotCount
};
static_assert(kNoiseSlot == 6 && kNeonUnlitSlot == 13 && kTextureSlotCount == 14);

struct PictureInfo {
    int step = 0;
    int width = 0;
    int height = 0;
};

// One thing the billboard shows, as the catalogue keeps it: a built-in picture, or content the
// user gave (a picture, an animation, a video or a live feed). Each is a source of frames over
// time drawn from one texture, updated in place whenever the source's frame changes.
struct ShownContent {
    std::string name;  // the file or feed as the user gave it; a built-in picture's file
    std::unique_ptr<FrameSource> source;
    // A built-in picture: the slot whose texture and size record it is drawn from (the neon
    // sign switches its slot's texture); -1 for the user's content.
    int builtInSlot = -1;
    PictureInfo info;  // the user's content: its size and cell step
    GLuint texture = 0;
    std::uint64_t uploadedSerial = 0;  // the source's frame the texture holds
    // A source whose frames are planes: `texture` holds luma, these chroma, and `yuv` the
    // colours of the frame uploaded (none, black, before the first).
    bool planar = false;
    GLuint chroma[2] = {0, 0};
    YuvColours yuv;
    FrameRateMeter shownRate;  // of the frames uploaded, for --stats

    bool builtIn() const { return builtInSlot >= 0; }
};

// GL texture names by slot (0 until loaded), the size records of the built-in pictures, and
// the billboard's content in the order `t` goes through it: the six built-in pictures, or the
// user's content instead of them.
struct PictureCatalogue {
    PictureCatalogue();

    GLuint textureIds[kTextureSlotCount] = {};
    PictureInfo pictures[kPictureCount] = {};
    std::vector<ShownContent> contents;
    // In real units: the billboard pictures are the wall's size, one LED a pixel.
    bool onWallLeds = false;
    // In real units, by slot: a built-in picture decoded and waiting to be fitted to the wall
    // when it is first shown (its slot's texture 0 until then).
    std::array<std::shared_ptr<const RgbImage>, kTextureSlotCount> waitingForWall;
};

// Makes the six built-in pictures, at the sizes `pictures` records now, the billboard's content
// (again), as a new catalogue has them.
void showBuiltInPictures(PictureCatalogue& catalogue);

// Files of the billboard pictures by picture number, written with backslashes (null: none).
// The scene load takes this list as a whole, so other pictures can stand in for these.
using PictureFiles = std::array<const char*, kPictureCount>;
inline constexpr PictureFiles kBuiltInPictureFiles = {
    ".\\Textures\\flagcross.bmp", ".\\Textures\\qelt.bmp",  ".\\Textures\\marrowby.bmp",
    ".\\Textures\\logoGray.bmp",  ".\\Textures\\tovin.bmp", ".\\Textures\\neonOff.bmp",
};

// No billboard picture files: the scene textures alone, when the user's pictures stand in.
inline constexpr PictureFiles kNoPictureFiles = {};

// File of a slot: the billboard pictures from `pictures`, the scene textures (slots 6 to 12)
// from the program's own; null for slot 13, which has no file of its own.
const char* texturePath(const PictureFiles& pictures, int slot);

// The order in which the scene load fills the slots: the neon sign's unlit picture last.
constexpr int kTextureLoadOrder[] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 5};

// The smallest d above start that divides both sides, or the first d that reaches either
// side. Called with start 1 it gives at least 2; a side of 0 or 1 gives 2.
int cellStep(int width, int height, int start);

// How many billboard pictures there are: the user's, or the six built-in ones.
int billboardPictureCount(const PictureCatalogue& catalogue);

// The content shown as billboard picture `picture`, taken as the nearest one when outside.
const ShownContent& shownContent(const PictureCatalogue& catalogue, int picture);
ShownContent& shownContent(PictureCatalogue& catalogue, int picture);

// Size and cell step of billboard picture `picture`, taken as the nearest one when outside.
const PictureInfo& pictureInfo(const PictureCatalogue& catalogue, int picture);

// The cell size a picture starts with, and returns to whenever it is chosen: three steps for
// the built-in pictures, one for frames on the wall's own LEDs, contentStartingPixelSize for
// the rest.
int startingPixelSize(const PictureCatalogue& catalogue, int picture);

// What the effect binder draws for `picture`: its texture as it holds it now (a built-in
// picture's slot, the latest upload of the user's content), its size, and the noise texture. A
// picture number outside the billboard pictures is taken as the nearest one.
EffectTextures effectTextures(const PictureCatalogue& catalogue, int picture);
