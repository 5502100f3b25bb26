// loadScene, in the order the rest of the program relies on: the camera first, the model,
// every texture slot (the neon sign last, then its unlit copy), cell steps, the first effect.
#include "app/scene_load.h"

#include "app/core/console.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/core/starting_view.h"
#include "app/core/viewer_keys.h"
#include "app/playback/picture_texture.h"
#include "app/playback/texture_load.h"
#include "app/scene/scene_light.h"
#include "obj/obj.h"

namespace {

constexpr const char* kFrameModelPath = "./Models/billboard.obj";

}  // namespace

bool loadScene(const PictureFiles& pictures, std::vector<Content>* contents) {
    const CameraPlacement start = startingPlacement(wallSetup);
    placeCamera(camera, start);
    // An unreadable model still gives the index of an empty one, which draws nothing.
    billboardModel = obj::createFile(kFrameModelPath);

    const bool userGiven = contents != nullptr && !contents->empty();
    loadCatalogue(pictureCatalogue, userGiven ? kNoPictureFiles : pictures);
    if (userGiven && !addContentTextures(pictureCatalogue, *contents)) return false;
    // The fresh start of the first picture, as the review starts each view (the camera stays
    // where it was placed first).
    startFresh(0, start);
    printEffect(effectParameters);
    if (wallSetup.realUnits) {
        consolePrint("%s\n", viewerLine(wallSetup).c_str());
        printStartingLightLine(effectParameters);
    }
    return true;
}
