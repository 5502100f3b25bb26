// The faces of the user's content without a window: its own shape in the normal view, the
// board's fits in the scenes.
#include "app/core/content_face.h"

#include <gtest/gtest.h>

TEST(ContentFaceTest, TheNormalViewGivesContentItsOwnShape) {
    // 1920 x 1080: 40 wide, 22.5 high about height 15.
    const FaceRect wide = normalContentFace({1, 1920, 1080});
    EXPECT_FLOAT_EQ(wide.right - wide.left, 40);
    EXPECT_FLOAT_EQ(wide.bottom, 3.75f);
    EXPECT_FLOAT_EQ(wide.top, 26.25f);
    // An upright phone video, 1080 x 1920: 22.5 wide, 40 high.
    const FaceRect upright = normalContentFace({1, 1080, 1920});
    EXPECT_FLOAT_EQ(upright.left, -11.25f);
    EXPECT_FLOAT_EQ(upright.top - upright.bottom, 40);
    // A feed of 170 x 100: 40 x 23.53.
    const FaceRect feed = normalContentFace({1, 170, 100});
    EXPECT_NEAR(feed.top - feed.bottom, 23.529f, 1e-3);
    // No size: the square.
    const FaceRect none = normalContentFace({2, 0, 0});
    EXPECT_FLOAT_EQ(none.top - none.bottom, 40);
}

TEST(ContentFaceTest, TheScenesBoardFitsContent) {
    // Contained: 1080 x 1920 is 11.25 x 20 in the middle of the 40 x 20 board.
    const FaceRect contain = sceneContentFace({1, 1080, 1920}, WallFit::contain);
    EXPECT_FLOAT_EQ(contain.left, -5.625f);
    EXPECT_FLOAT_EQ(contain.bottom, 10);
    EXPECT_FLOAT_EQ(contain.top, 30);
    EXPECT_FLOAT_EQ(contain.sLeft, 0);
    // Covered: the whole board, the middle 1080 x 540 of the picture: t from 0.359375.
    const FaceRect cover = sceneContentFace({1, 1080, 1920}, WallFit::cover);
    EXPECT_FLOAT_EQ(cover.left, -20);
    EXPECT_FLOAT_EQ(cover.top, 30);
    EXPECT_FLOAT_EQ(cover.tBottom, 0.359375f);
    EXPECT_FLOAT_EQ(cover.tTop, 0.640625f);
    // Stretched, and a picture of the board's own shape contained: the whole board.
    for (const FaceRect& board : {sceneContentFace({1, 1080, 1920}, WallFit::stretch),
                                  sceneContentFace({1, 200, 100}, WallFit::contain)}) {
        EXPECT_FLOAT_EQ(board.left, -20);
        EXPECT_FLOAT_EQ(board.right, 20);
        EXPECT_FLOAT_EQ(board.bottom, 10);
        EXPECT_FLOAT_EQ(board.top, 30);
    }
}
