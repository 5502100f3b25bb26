#include "app/wall_pictures.h"

#include "app/wall_fitted_source.h"

void fitUserPicturesToWall(std::vector<UserPicture>& pictures, const WallSetup& setup) {
    for (UserPicture& picture : pictures) {
        if (picture.ledPerPixel) continue;
        picture.source = std::make_unique<WallFittedSource>(
            std::move(picture.source), setup.widthLeds, setup.heightLeds, setup.fit);
        picture.ledPerPixel = true;
    }
}
