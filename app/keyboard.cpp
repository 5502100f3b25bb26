// The GLUT keyboard callback: the key table does the work, an animated picture's frame timer
// follows the picture chosen, space pauses a video, then every key, known or not, asks for a
// redraw.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/callbacks.h"
#include "app/core/console.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/core/viewer_keys.h"
#include "app/playback/content_playback.h"
#include "app/playback/video_pause.h"
#include "app/scene/scene_light.h"

void keyboard(unsigned char key, int, int) {
    if (key == ' ') toggleChosenPause();
    if (!applyViewerKey(key, wallSetup, camera, effectParameters.pixelSize, eyeViewShown))
        applyKey(key, effectParameters, pictureCatalogue, camera);
    else if (key == 'v')
        consolePrint("%s\n",
                     shownLightLine(effectParameters, shownLightView(effectParameters)).c_str());
    followChosenPicture();
    glutPostRedisplay();
}
