// loadScene, in the order the rest of the program relies on: the camera first, the model,
// every texture slot (the neon sign last, then its unlit copy), cell steps, the first effect.
#include "app/scene_load.h"

#include "app/console.h"
#include "app/effect_keys.h"
#include "app/picture_texture.h"
#include "app/scene_light.h"
#include "app/scene_camera.h"
#include "app/starting_view.h"
#include "app/texture_load.h"
#include "app/viewer_keys.h"
#include "obj/obj.h"

int billboardModel = -1;

namespace {

constexpr const char* kFrameModelPath = "./Models/billboard.obj";

}  // namespace

bool loadScene(const PictureFiles& pictures, std::vector<UserPicture>* userPictures) {
    placeCamera(camera, startingPlacement(wallSetup));
    // An unreadable model still gives the index of an empty one, which draws nothing.
    billboardModel = obj::createFile(kFrameModelPath);

    const bool userGiven = userPictures != nullptr && !userPictures->empty();
    loadCatalogue(pictureCatalogue, userGiven ? kNoPictureFiles : pictures);
    if (userGiven && !addUserPictureTextures(pictureCatalogue, *userPictures)) return false;
    effectParameters = startingParameters(pictureCatalogue, 0);
    printEffect(effectParameters);
    if (wallSetup.realUnits) {
        consolePrint("%s\n", viewerLine(wallSetup).c_str());
        printStartingLightLine(effectParameters);
    }
    return true;
}
