// Space asks the chosen content's source to pause or resume; each video keeps its own state
// when it is shown again.
#include "app/video_pause.h"

#include <cstdio>

#include "app/content_playback.h"
#include "app/effect_keys.h"
#include "app/picture_catalogue.h"
#include "app/wall_clock.h"

void toggleChosenPause() {
    ShownContent& content = shownContent(pictureCatalogue, effectParameters.picture);
    const bool pause = !content.source->paused();
    if (!content.source->setPaused(pause, frameClockNow())) return;
    std::printf("%s: %s\n", content.name.c_str(), pause ? "paused" : "playing");
    std::fflush(stdout);
    restartFrameTimer();
}
