// Which sources are paused is kept here, by source, so that each video shown again keeps
// its own state.
#include "app/video_pause.h"

#include <cstdio>
#include <set>

#include "app/effect_keys.h"
#include "app/picture_animation.h"
#include "app/picture_catalogue.h"
#include "app/wall_clock.h"

namespace {

std::set<const FrameSource*> pausedSources;

}  // namespace

void toggleChosenPause() {
    const int chosen = effectParameters.picture;
    if (chosen < 0 || chosen >= static_cast<int>(pictureCatalogue.userPictures.size())) return;
    UserPictureTexture& picture = pictureCatalogue.userPictures[chosen];
    const bool pause = !pausedSources.contains(picture.source.get());
    if (!picture.source->setPaused(pause, frameClockNow())) return;
    if (pause) {
        pausedSources.insert(picture.source.get());
    } else {
        pausedSources.erase(picture.source.get());
    }
    std::printf("%s: %s\n", picture.name.c_str(), pause ? "paused" : "playing");
    std::fflush(stdout);
    restartFrameTimer();
}
