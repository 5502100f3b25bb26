// The picture catalogue: which file fills which of the fourteen texture slots, the cell step
// of each billboard picture, and the texture load that fills a slot and records its size.
#pragma once

#include "effects/effect_state.h"

// Slots by role. Slots 0 to 5 are the billboard pictures, 5 being the neon sign (unlit).
constexpr int kNeonPictureSlot = 5;
constexpr int kDayGroundSlot = 7;
constexpr int kDayBackdropSlot = 8;
constexpr int kNightGroundSlot = 9;
constexpr int kNightBackdropSlot = 10;
constexpr int kFrameSlot = 11;
constexpr int kNeonLitSlot = 12;
constexpr int kNeonUnlitSlot = 13;  // a copy of slot 5's name, made after loading

// Picture file of each slot, written with backslashes; slot 13 has no file of its own.
extern const char* const texturePaths[kTextureSlotCount];

// The order in which the scene load fills the slots: the neon sign's unlit picture last.
constexpr int kTextureLoadOrder[] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 5};

// The smallest d above start that divides both sides, or the first d that reaches either
// side. Called with start 1 it gives at least 2; a side of 0 or 1 gives 2.
int cellStep(int width, int height, int start);

// Fills textureIds[slot] from the BMP at path (backslashes allowed) and, with recordSize,
// records the picture's size in pictures[slot]. A missing file returns false quietly; a file
// the loader cannot decode is reported by the loader. Either way the slot keeps name 0 and
// its size stays 0 by 0. Leaves 2D texturing enabled.
bool loadTexture(int slot, const char* path, bool recordSize);
