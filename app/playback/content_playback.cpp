// GLUT timers cannot be cancelled, so each one carries the generation it was set for and a
// timer from before the last change of picture does nothing when it fires. A timer asks for
// a redraw only when the texture changed. A source filled from another thread wakes the
// display when a frame comes that no timer waits for; given no wake, it is polled.
#include "app/playback/content_playback.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>

#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/core/wall_clock.h"
#include "app/playback/display_wake.h"
#include "app/playback/picture_texture.h"

namespace {

int& followedPicture = runState.playback.followedPicture;
int& generation = runState.playback.generation;
bool& timerSet = runState.playback.timerSet;

void showDueFrame(int timerGeneration);

void armFrameTimer(const ShownContent& content, FrameClock::time_point now) {
    const FrameClock::time_point due = content.source->nextFrameDue(now);
    timerSet = due != kNoFrameDue;
    if (!timerSet) return;
    // Rounded up: a timer that fires before the frame is due would find nothing new.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now);
    glutTimerFunc(static_cast<unsigned>(std::max<std::int64_t>(wait.count(), 0)), showDueFrame,
                  generation);
}

void showDueFrame(int timerGeneration) {
    if (timerGeneration != generation || followedPicture < 0) return;
    timerSet = false;
    ShownContent& content = shownContent(pictureCatalogue, followedPicture);
    const FrameClock::time_point now = frameClockNow();
    if (refreshContentTexture(content, now)) glutPostRedisplay();
    armFrameTimer(content, now);
}

}  // namespace

void wakeOnNewFrames() {
    const auto moves = [](const ShownContent& content) { return content.source->moving(); };
    if (std::ranges::none_of(pictureCatalogue.contents, moves) || !openDisplayWake()) return;
    for (ShownContent& content : pictureCatalogue.contents)
        content.source->wakeOnFrame(wakeDisplay);
}

void followChosenPicture() {
    const int chosen = effectParameters.picture;
    const int wanted =
        chosen >= 0 && chosen < billboardPictureCount(pictureCatalogue) ? chosen : -1;
    if (wanted == followedPicture) return;
    ++generation;
    const FrameClock::time_point now = frameClockNow();
    if (followedPicture >= 0 && followedPicture < billboardPictureCount(pictureCatalogue))
        pictureCatalogue.contents[followedPicture].source->show(false, now);
    followedPicture = wanted;
    timerSet = false;
    if (wanted < 0) return;
    ShownContent& content = pictureCatalogue.contents[wanted];
    content.source->show(true, now);
    refreshContentTexture(content, now);
    armFrameTimer(content, now);
}

void restartFrameTimer() {
    if (followedPicture < 0) return;
    ++generation;
    armFrameTimer(shownContent(pictureCatalogue, followedPicture), frameClockNow());
}

void refreshChosenPicture() {
    if (followedPicture < 0) return;
    // Before the frame is taken: one that comes after it wakes the display again.
    displayWoken();
    ShownContent& content = shownContent(pictureCatalogue, followedPicture);
    const FrameClock::time_point now = frameClockNow();
    refreshContentTexture(content, now);
    if (!timerSet) armFrameTimer(content, now);
}
