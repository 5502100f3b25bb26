// Cell steps for the sizes pictures come in, and the catalogue's fixed slot table.
#include "app/core/picture_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PictureCatalogueTest, CellStepIsTheSmallestCommonDivisorFromTwo) {
    EXPECT_EQ(cellStep(256, 256, 1), 2);
    EXPECT_EQ(cellStep(300, 200, 1), 2);
    EXPECT_EQ(cellStep(81, 27, 1), 3);
    EXPECT_EQ(cellStep(125, 75, 1), 5);
}

TEST(PictureCatalogueTest, CellStepFallsBackToTheSmallerSide) {
    EXPECT_EQ(cellStep(7, 5, 1), 5);
    EXPECT_EQ(cellStep(5, 7, 1), 5);
    EXPECT_EQ(cellStep(2, 3, 1), 2);
    EXPECT_EQ(cellStep(13, 26, 1), 13);
}

TEST(PictureCatalogueTest, CellStepOfATinyOrMissingPictureIsTwo) {
    EXPECT_EQ(cellStep(1, 100, 1), 2);
    EXPECT_EQ(cellStep(0, 0, 1), 2);
    EXPECT_EQ(cellStep(-4, 8, 1), 2);
}

TEST(PictureCatalogueTest, CellStepSearchesOnlyAboveItsStart) {
    EXPECT_EQ(cellStep(12, 18, 2), 3);
    EXPECT_EQ(cellStep(12, 18, 3), 6);
}

TEST(PictureCatalogueTest, CellStepOfAHugeCoprimePictureEndsAtTheSmallerSide) {
    EXPECT_EQ(cellStep(1 << 20, (1 << 20) - 1, 1), (1 << 20) - 1);
}

TEST(PictureCatalogueTest, SlotsHoldTheirFilesWithBackslashesAndSlot13HasNone) {
    const PictureFiles& builtIn = kBuiltInPictureFiles;
    EXPECT_STREQ(texturePath(builtIn, 0), ".\\Textures\\flagcross.bmp");
    EXPECT_STREQ(texturePath(builtIn, 5), ".\\Textures\\neonOff.bmp");
    EXPECT_STREQ(texturePath(builtIn, 6), ".\\Textures\\noise.bmp");
    EXPECT_STREQ(texturePath(builtIn, 11), ".\\Textures\\metal.bmp");
    EXPECT_STREQ(texturePath(builtIn, 12), ".\\Textures\\neonOn.bmp");
    EXPECT_EQ(texturePath(builtIn, 13), nullptr);
}

TEST(PictureCatalogueTest, EffectTexturesAreThePicturesSlotAndSizeWithTheNoise) {
    PictureCatalogue catalogue;
    for (int slot = 0; slot < kTextureSlotCount; ++slot) catalogue.textureIds[slot] = 100 + slot;
    catalogue.pictures[2] = {2, 64, 32};
    const EffectTextures textures = effectTextures(catalogue, 2);
    EXPECT_EQ(textures.picture, 102u);
    EXPECT_EQ(textures.pictureWidth, 64);
    EXPECT_EQ(textures.pictureHeight, 32);
    EXPECT_EQ(textures.noise, 100u + kNoiseSlot);
    // A picture number out of range never reaches past the six pictures.
    EXPECT_EQ(effectTextures(catalogue, 9).picture, 100u + kNeonPictureSlot);
}

TEST(PictureCatalogueTest, LoadOrderFillsEverySlotWithAFileOnceAndTheNeonSignLast) {
    bool seen[kTextureSlotCount] = {};
    for (int slot : kTextureLoadOrder) {
        ASSERT_GE(slot, 0);
        ASSERT_LT(slot, kTextureSlotCount);
        EXPECT_FALSE(seen[slot]);
        seen[slot] = true;
    }
    for (int slot = 0; slot < kTextureSlotCount; ++slot)
        EXPECT_EQ(seen[slot], texturePath(kBuiltInPictureFiles, slot) != nullptr)
            << "slot " << slot;
    EXPECT_EQ(std::end(kTextureLoadOrder)[-1], kNeonPictureSlot);
}

}  // namespace
