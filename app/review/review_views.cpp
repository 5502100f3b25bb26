// Each view is replayed from the starting state, in the order a user would reach it, so that
// a view's state never depends on what was drawn before it.
#include "app/review/review_views.h"

#include <algorithm>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/core/starting_view.h"
#include "app/core/viewer_keys.h"
#include "app/playback/content_playback.h"
#include "effects/effect_programs.h"
#include "effects/effect_state.h"

namespace {

// The effect state a user has after choosing `picture` in a freshly started program.
void chooseStartingState(int picture, bool fromViewer) {
    startFresh(picture, wallSetup.realUnits && !fromViewer ? framingPlacement(wallSetup)
                                                           : startingPlacement(wallSetup));
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

int reviewViewCount() {
    return wallSetup.realUnits ? kReviewViewCount + kViewerReviewViewCount : kReviewViewCount;
}

std::string reviewViewName(int view) {
    if (view < kEffectCount) return "effect-" + std::to_string(view + 1);
    static const char* const names[] = {"day", "night", "viewer", "viewer-night", "eye"};
    return names[std::min(view - kEffectCount, 4)];
}

void chooseReviewView(int picture, int view) {
    if (view >= kReviewViewCount) {
        // The viewer's views: the day scene, the night scene, the day scene in the eye view.
        const int viewerView = view - kReviewViewCount;
        chooseStartingState(picture, true);
        for (int mode = 0; mode < kEffectCount; ++mode) chooseEffect(effectParameters, mode);
        pressPresetKey('1', picture);
        if (viewerView == 1) pressPresetKey('2', picture);
        eyeViewShown = viewerView == 2;
        return;
    }
    chooseStartingState(picture, false);
    // The presets are pressed after the last effect, as the review always has.
    for (int mode = 0; mode <= std::min(view, kEffectCount - 1); ++mode)
        chooseEffect(effectParameters, mode);
    if (view >= kEffectCount) pressPresetKey('1', picture);
    if (view > kEffectCount) pressPresetKey('2', picture);
}
