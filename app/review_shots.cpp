// writeReviewShots: the same frames a user would see after the same keys, read back from the
// back buffer (bottom row first, as the PNG writer takes it).
#include "app/review_shots.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "app/callbacks.h"
#include "app/effect_keys.h"
#include "app/frame_capture.h"
#include "app/picture_animation.h"
#include "app/picture_catalogue.h"
#include "app/starting_view.h"
#include "app/user_pictures.h"
#include "app/wall_clock.h"
#include "effects/effect_programs.h"
#include "image/contact_sheet.h"
#include "image/picture_scale.h"

namespace {

constexpr int kSheetTileSide = 200;
constexpr int kShotsPerPicture = 6;  // four effects, day, night

bool writeShot(const CapturedFrame& shot, const std::filesystem::path& path) {
    const int error = writeFramePng(shot, path.c_str());
    if (error != 0) std::fprintf(stderr, "Error: %s: %s\n", path.c_str(), std::strerror(error));
    return error == 0;
}

// The shot shrunk to a contact-sheet tile, so the sheet's memory does not grow with the
// window size.
SheetPicture tileOf(const CapturedFrame& shot, const std::string& label) {
    const PictureSize size = fittedSize({shot.width, shot.height}, kSheetTileSide);
    const PixelBuffer tile = areaScale(shot.rgb.data(), {shot.width, shot.height}, size);
    SheetPicture picture{label, size.width, size.height, {}};
    if (tile)
        picture.rgb.assign(tile.get(), tile.get() + std::size_t(size.width) * size.height * 3);
    return picture;
}

// The effect state a user has after choosing `picture` in a freshly started program.
void chooseStartingState(int picture) {
    effectParameters = kStartingParameters;
    effectParameters.picture = picture;
    effectParameters.pictureCount = billboardPictureCount(pictureCatalogue);
    effectParameters.program = effectPrograms[0];
    effectParameters.pixelSize = startingPixelSize(pictureCatalogue, picture);
    placeCamera(camera, kStartingView);
    followChosenPicture();
}

// A preset key, as the user presses it, then back to `picture` (the presets start on the
// first picture) with its starting cell size.
void pressPresetKey(unsigned char key, int picture) {
    applyKey(key, effectParameters, pictureCatalogue, camera);
    effectParameters.picture = picture;
    effectParameters.pixelSize = startingPixelSize(pictureCatalogue, picture);
}

}  // namespace

bool writeReviewShots(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        std::fprintf(stderr, "Error: %s: cannot create the folder\n", folder.c_str());
        return false;
    }
    waitForWindowMapping();
    // Held still, so that an animation is shown at its first frame in every shot.
    pinFrameClock(frameClockNow());

    bool written = true;
    std::vector<SheetPicture> tiles;
    std::map<std::string, int> stemUses;
    const int count = static_cast<int>(pictureCatalogue.userPictures.size());
    for (int i = 0; i < count; ++i) {
        const std::string& name = pictureCatalogue.userPictures[i].name;
        std::string stem = pictureStem(name);
        if (const int uses = ++stemUses[stem]; uses > 1)
            stem.append("-").append(std::to_string(uses));
        std::fprintf(stderr, "Reviewing %s (%d of %d) as %s-*.png\n", name.c_str(), i + 1, count,
                     stem.c_str());
        std::fflush(stderr);
        const auto keep = [&](const CapturedFrame& shot, const std::string& view) {
            written =
                writeShot(shot, std::filesystem::path(folder) / (stem + "-" + view + ".png")) &&
                written;
            tiles.push_back(tileOf(shot, stem + "\n" + view));
        };
        chooseStartingState(i);
        for (int mode = 0; mode < kEffectCount; ++mode) {
            effectParameters.mode = mode;
            effectParameters.program = effectPrograms[mode];
            keep(drawAndCaptureFrame(), "effect-" + std::to_string(mode + 1));
        }
        pressPresetKey('1', i);
        keep(drawAndCaptureFrame(), "day");
        pressPresetKey('2', i);
        keep(drawAndCaptureFrame(), "night");
    }
    const ContactSheet sheet = buildContactSheet(tiles, kShotsPerPicture, kSheetTileSide);
    const std::filesystem::path sheetPath = std::filesystem::path(folder) / "contact-sheet.png";
    written = writeShot({sheet.width, sheet.height, sheet.rgb}, sheetPath) && written;
    return written;
}
