// writeReviewShots: the same frames a user would see after the same keys, read back from the
// back buffer (bottom row first, as the PNG writer takes it).
#include "app/review/review_shots.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "app/callbacks.h"
#include "app/core/console.h"
#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/core/starting_view.h"
#include "app/core/wall_clock.h"
#include "app/playback/content_files.h"
#include "app/playback/content_playback.h"
#include "app/review/frame_capture.h"
#include "app/review/review_clips.h"
#include "app/review/review_views.h"
#include "app/scene/scene_light.h"
#include "effects/effect_programs.h"
#include "physical/wall_setup.h"
#include "pictures/contact_sheet.h"
#include "pictures/picture_scale.h"

namespace {

constexpr int kSheetTileSide = 200;
// Moving content is shot here, past the fade-ins and title cards clips often open with.
constexpr double kMovingShotSeconds = 1;

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

}  // namespace

bool writeReviewShots(const std::string& folder, int seconds) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        std::fprintf(stderr, "Error: %s: cannot create the folder\n", folder.c_str());
        return false;
    }
    waitForWindowMapping();
    // Sources are sampled at pinned times and wait for the frames due, so every run gives the
    // same files.
    for (ShownContent& content : pictureCatalogue.contents) content.source->renderOffline();
    const FrameClock::time_point start = frameClockNow();

    bool written = true;
    std::vector<SheetPicture> tiles;
    std::map<std::string, int> stemUses;
    const int count = billboardPictureCount(pictureCatalogue);
    for (int i = 0; i < count; ++i) {
        const FrameSource& source = *pictureCatalogue.contents[i].source;
        const std::string& name = pictureCatalogue.contents[i].name;
        std::string stem = contentStem(name);
        if (const int uses = ++stemUses[stem]; uses > 1)
            stem.append("-").append(std::to_string(uses));
        std::fprintf(stderr, "Reviewing %s (%d of %d) as %s-*.png\n", name.c_str(), i + 1, count,
                     stem.c_str());
        std::fflush(stderr);
        // Moving content is shot at one second in (or at its last frame, if it is shorter),
        // still pictures as they are.
        pinFrameClock(start);
        chooseReviewView(i, 0);
        const bool moving = source.frameRate() > 0;
        const double shotSeconds = source.shotSeconds(kMovingShotSeconds);
        pinFrameClock(moving ? start + std::chrono::duration_cast<FrameClock::duration>(
                                           std::chrono::duration<double>(shotSeconds))
                             : start);
        if (wallSetup.realUnits) consolePrint("%s\n", viewerLine(wallSetup).c_str());
        for (int view = 0; view < reviewViewCount(); ++view) {
            chooseReviewView(i, view);
            const CapturedFrame shot = drawAndCaptureFrame();
            const std::string viewName = reviewViewName(view);
            written =
                writeShot(shot, std::filesystem::path(folder) / (stem + "-" + viewName + ".png")) &&
                written;
            tiles.push_back(tileOf(shot, stem + "\n" + viewName));
        }
        // The figures of the frame the views showed.
        if (wallSetup.realUnits)
            for (const LightView view : {LightView::day, LightView::night})
                consolePrint("%s\n", shownLightLine(effectParameters, view).c_str());
        if (moving) written = writeReviewClips(folder, stem, i, seconds, start) && written;
        pinFrameClock(start);
    }
    const ContactSheet sheet = buildContactSheet(tiles, reviewViewCount(), kSheetTileSide);
    const std::filesystem::path sheetPath = std::filesystem::path(folder) / "contact-sheet.png";
    written = writeShot({sheet.width, sheet.height, sheet.rgb}, sheetPath) && written;
    return written;
}
