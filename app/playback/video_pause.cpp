// Space asks the chosen content's source to pause or resume; each video keeps its own state
// when it is shown again.
#include "app/playback/video_pause.h"

#include <cstdio>

#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/core/wall_clock.h"
#include "app/playback/content_playback.h"

void toggleChosenPause() {
    ShownContent& content = shownContent(pictureCatalogue, effectParameters.picture);
    const bool pause = !content.source->paused();
    if (!content.source->setPaused(pause, frameClockNow())) return;
    std::printf("%s: %s\n", content.name.c_str(), pause ? "paused" : "playing");
    std::fflush(stdout);
    restartFrameTimer();
}
