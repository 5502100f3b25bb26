// writeReviewShots: the same frames a user would see after the same keys, read back from the
// back buffer (bottom row first, as the PNG writer takes it).
#include "app/review_shots.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <vector>

#include "app/callbacks.h"
#include "app/effect_keys.h"
#include "app/picture_catalogue.h"
#include "app/starting_view.h"
#include "app/user_pictures.h"
#include "effects/effect_programs.h"
#include "image/bmp_encoder.h"
#include "image/contact_sheet.h"
#include "image/picture_encoders.h"
#include "image/picture_scale.h"

namespace {

// Rounds of window events that let the X server map the window before the first frame.
constexpr int kMappingRounds = 20;
constexpr int kSheetTileSide = 200;
constexpr int kShotsPerPicture = 6;  // four effects, day, night

struct Shot {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // bottom row first
};

Shot drawAndRead() {
    display();
    glFinish();
    Shot shot;
    shot.width = glutGet(GLUT_WINDOW_WIDTH);
    shot.height = glutGet(GLUT_WINDOW_HEIGHT);
    shot.rgb.resize(std::size_t(shot.width) * shot.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Mesa's swap copies the back buffer to the window, so it still holds the frame drawn.
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, shot.width, shot.height, GL_RGB, GL_UNSIGNED_BYTE, shot.rgb.data());
    return shot;
}

bool writeShot(const Shot& shot, const std::filesystem::path& path) {
    const bool written =
        writeFileBytes(path.c_str(), encodePng(shot.width, shot.height, 3, shot.rgb.data()));
    if (!written) std::fprintf(stderr, "Error: %s: cannot write the file\n", path.c_str());
    return written;
}

// The shot shrunk to a contact-sheet tile, so the sheet's memory does not grow with the
// window size.
SheetPicture tileOf(const Shot& shot, const std::string& label) {
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
    for (int round = 0; round < kMappingRounds; ++round) glutMainLoopEvent();

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
        const auto keep = [&](const Shot& shot, const std::string& view) {
            written =
                writeShot(shot, std::filesystem::path(folder) / (stem + "-" + view + ".png")) &&
                written;
            tiles.push_back(tileOf(shot, stem + "\n" + view));
        };
        chooseStartingState(i);
        for (int mode = 0; mode < kEffectCount; ++mode) {
            effectParameters.mode = mode;
            effectParameters.program = effectPrograms[mode];
            keep(drawAndRead(), "effect-" + std::to_string(mode + 1));
        }
        pressPresetKey('1', i);
        keep(drawAndRead(), "day");
        pressPresetKey('2', i);
        keep(drawAndRead(), "night");
    }
    const ContactSheet sheet = buildContactSheet(tiles, kShotsPerPicture, kSheetTileSide);
    const std::filesystem::path sheetPath = std::filesystem::path(folder) / "contact-sheet.png";
    written = writeShot({sheet.width, sheet.height, sheet.rgb}, sheetPath) && written;
    return written;
}
