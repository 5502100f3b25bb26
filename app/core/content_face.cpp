#include "app/core/content_face.h"

#include <algorithm>

#include "app/core/face_geometry.h"

namespace {

// The board of the scene views.
constexpr float kBoardLeft = -20, kBoardRight = 20, kBoardBottom = 10, kBoardTop = 30;

// The rectangle of `aspect` (width / height) centred in and as large as the box.
FaceRect containedIn(float aspect, float left, float bottom, float right, float top) {
    const float boxWidth = right - left, boxHeight = top - bottom;
    const float width = std::min(boxWidth, boxHeight * aspect);
    const float height = std::min(boxHeight, boxWidth / aspect);
    const float x = (left + right) / 2, y = (bottom + top) / 2;
    return {x - width / 2, y - height / 2, x + width / 2, y + height / 2};
}

}  // namespace

FaceRect normalContentFace(const PictureInfo& picture) {
    const float h = kFaceHalfWidth, c = kNormalFaceCentreHeight;
    if (picture.width <= 0 || picture.height <= 0) return {-h, c - h, h, c + h};
    return containedIn(float(picture.width) / float(picture.height), -h, c - h, h, c + h);
}

FaceRect sceneContentFace(const PictureInfo& picture, WallFit fit) {
    FaceRect board{kBoardLeft, kBoardBottom, kBoardRight, kBoardTop};
    if (picture.width <= 0 || picture.height <= 0 || fit == WallFit::stretch) return board;
    const float aspect = float(picture.width) / float(picture.height);
    const float boardAspect = (kBoardRight - kBoardLeft) / (kBoardTop - kBoardBottom);
    if (fit == WallFit::contain)
        return containedIn(aspect, kBoardLeft, kBoardBottom, kBoardRight, kBoardTop);
    // Cover: the middle of the picture in the board's shape.
    if (aspect > boardAspect) {
        const float shown = boardAspect / aspect;
        board.sLeft = (1 - shown) / 2;
        board.sRight = 1 - board.sLeft;
    } else {
        const float shown = aspect / boardAspect;
        board.tBottom = (1 - shown) / 2;
        board.tTop = 1 - board.tBottom;
    }
    return board;
}
