#include "effects/led_fill.h"

#include <gtest/gtest.h>

#include <numbers>

TEST(LedFillTest, AHardDiscGivesItsShareOfTheCellsArea) {
    // A disc of radius 0.6 half cells in a cell two half cells wide: pi 0.6² / 4 of its area.
    EXPECT_NEAR(ledCellLightShare(0.6f, 0.0f), std::numbers::pi * 0.36 / 4, 0.005);
    // A disc filling the cell past its corners lights all of it.
    EXPECT_NEAR(ledCellLightShare(1.5f, 0.0f), 1.0, 1e-9);
}
