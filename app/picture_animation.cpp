// GLUT timers cannot be cancelled, so each one carries the generation it was set for and a
// timer from before the last change of picture does nothing when it fires.
#include "app/picture_animation.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/effect_keys.h"
#include "app/picture_catalogue.h"

namespace {

int followedPicture = -1;  // the user picture whose frames the timer shows; -1 for none
int generation = 0;

void showNextFrame(int timerGeneration);

void armFrameTimer(const UserPictureTextures& picture) {
    glutTimerFunc(static_cast<unsigned>(picture.delaysMs[picture.frame]), showNextFrame,
                  generation);
}

void showNextFrame(int timerGeneration) {
    if (timerGeneration != generation || followedPicture < 0) return;
    UserPictureTextures& picture = pictureCatalogue.userPictures[followedPicture];
    picture.frame = (picture.frame + 1) % static_cast<int>(picture.frames.size());
    glutPostRedisplay();
    armFrameTimer(picture);
}

}  // namespace

void followChosenPicture() {
    std::vector<UserPictureTextures>& userPictures = pictureCatalogue.userPictures;
    const int chosen = effectParameters.picture;
    const bool animated = chosen >= 0 && chosen < static_cast<int>(userPictures.size()) &&
                          userPictures[chosen].animated();
    const int wanted = animated ? chosen : -1;
    if (wanted == followedPicture) return;
    ++generation;
    followedPicture = wanted;
    if (wanted >= 0) {
        userPictures[wanted].frame = 0;
        armFrameTimer(userPictures[wanted]);
    }
}
