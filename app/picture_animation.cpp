// GLUT timers cannot be cancelled, so each one carries the generation it was set for and a
// timer from before the last change of picture does nothing when it fires. A timer asks for
// a redraw only when the texture changed. A source filled from another thread wakes the
// display when a frame comes that no timer waits for; given no wake, it is polled.
#include "app/picture_animation.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <chrono>

#include "app/display_wake.h"
#include "app/effect_keys.h"
#include "app/picture_catalogue.h"
#include "app/picture_texture.h"
#include "app/wall_clock.h"

namespace {

int followedPicture = -1;  // the user picture shown now; -1 for none
int generation = 0;
bool timerSet = false;  // a timer of this generation is still to fire

void showDueFrame(int timerGeneration);

void armFrameTimer(const UserPictureTexture& picture, FrameClock::time_point now) {
    const FrameClock::time_point due = picture.source->nextFrameDue(now);
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
    UserPictureTexture& picture = pictureCatalogue.userPictures[followedPicture];
    const FrameClock::time_point now = frameClockNow();
    if (refreshPictureTexture(picture, now)) glutPostRedisplay();
    armFrameTimer(picture, now);
}

}  // namespace

void wakeOnNewFrames() {
    if (pictureCatalogue.userPictures.empty() || !openDisplayWake()) return;
    for (UserPictureTexture& picture : pictureCatalogue.userPictures)
        picture.source->wakeOnFrame(wakeDisplay);
}

void followChosenPicture() {
    std::vector<UserPictureTexture>& userPictures = pictureCatalogue.userPictures;
    const int chosen = effectParameters.picture;
    const int wanted = chosen >= 0 && chosen < static_cast<int>(userPictures.size()) ? chosen : -1;
    if (wanted == followedPicture) return;
    ++generation;
    const FrameClock::time_point now = frameClockNow();
    if (followedPicture >= 0 && followedPicture < static_cast<int>(userPictures.size()))
        userPictures[followedPicture].source->show(false, now);
    followedPicture = wanted;
    timerSet = false;
    if (wanted >= 0) {
        userPictures[wanted].source->show(true, now);
        refreshPictureTexture(userPictures[wanted], now);
        armFrameTimer(userPictures[wanted], now);
    }
}

void restartFrameTimer() {
    if (followedPicture < 0) return;
    ++generation;
    armFrameTimer(pictureCatalogue.userPictures[followedPicture], frameClockNow());
}

void refreshChosenPicture() {
    if (followedPicture < 0 || followedPicture >= int(pictureCatalogue.userPictures.size())) return;
    // Before the frame is taken: one that comes after it wakes the display again.
    displayWoken();
    UserPictureTexture& picture = pictureCatalogue.userPictures[followedPicture];
    const FrameClock::time_point now = frameClockNow();
    refreshPictureTexture(picture, now);
    if (!timerSet) armFrameTimer(picture, now);
}
