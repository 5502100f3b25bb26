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

#include "app/frame_rate_meter.h"
#include "bmp/dib_image.h"
#include "effects/effect_binding.h"
#include "frames/frame_source.h"

constexpr int kTextureSlotCount = 14;

// Slots by role. Slots 0 to 5 are the billboard pictures, picture number = slot, the last
// being the neon sign (unlit).
constexpr int kPictureCount = 6;
constexpr int kNeonPictureSlot = 5;
constexpr int kNoiseSlot = 6;
constexpr int kDayGroundSlot = 7;
constexpr int kDayBackdropSlot = 8;
constexpr int kNightGroundSlot = 9;
constexpr int kNightBackdropSlot = 10;
constexpr int kFrameSlot = 11;
constexpr int kNeonLitSlot = 12;
constexpr int kNeonUnlitSlot = 13;  // a copy of slot 5's name, made after loading

struct PictureInfo {
    int step = 0;
    int width = 0;
    int height = 0;
};

// A picture of the user's: its source of frames over time and the one texture it is drawn
// from, updated in place whenever the source's frame changes.
struct UserPictureTexture {
    std::string name;  // the file as the user gave it
    PictureInfo info;
    std::unique_ptr<FrameSource> source;
    GLuint texture = 0;
    std::uint64_t uploadedSerial = 0;  // the source's frame the texture holds
    bool ledPerPixel = false;          // cells start at one pixel, in steps of one
    // A source whose frames are planes: `texture` holds luma, these chroma, and `yuv` the
    // colours of the frame uploaded (none, black, before the first).
    bool planar = false;
    GLuint chroma[2] = {0, 0};
    YuvColours yuv;
    FrameRateMeter shownRate;  // of the frames uploaded, for --stats
};

// GL texture names by slot (0 until loaded) and the size records of the billboard pictures.
// The user's pictures, when there are any, are the billboard pictures instead of slots 0 to 5.
struct PictureCatalogue {
    GLuint textureIds[kTextureSlotCount] = {};
    PictureInfo pictures[kPictureCount] = {};
    std::vector<UserPictureTexture> userPictures;
    // In real units: the billboard pictures are the wall's size, one LED a pixel.
    bool onWallLeds = false;
    // In real units, by slot: a built-in picture decoded and waiting to be fitted to the wall
    // when it is first shown (its slot's texture 0 until then).
    std::array<std::shared_ptr<const RgbImage>, kTextureSlotCount> waitingForWall;
};

// The program's one catalogue, filled by the scene load.
extern PictureCatalogue pictureCatalogue;

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

// Size and cell step of billboard picture `picture`, taken as the nearest one when outside.
const PictureInfo& pictureInfo(const PictureCatalogue& catalogue, int picture);

// The cell size a picture starts with, and returns to whenever it is chosen: three steps for
// the built-in pictures, userStartingPixelSize for the user's.
int startingPixelSize(const PictureCatalogue& catalogue, int picture);

// What the effect binder draws for `picture`: its texture as the slot holds it now (a user
// picture's latest upload), its size, and the noise texture. A picture number outside the
// billboard pictures is taken as the nearest one.
EffectTextures effectTextures(const PictureCatalogue& catalogue, int picture);
