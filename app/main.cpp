// Glimmerboard: simulated LED billboards in one GLUT window.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdlib>

#include "app/scene_load.h"
#include "app/startup.h"
#include "effects/effect_programs.h"

int main(int argc, char** argv) {
    printBanner();
    createMainWindow(&argc, argv);
    registerCallbacks();
    initGraphics();
    glewInit();
    if (!hasProgrammablePipeline()) std::exit(1);
    buildEffectPrograms();
    loadScene();
    glutMainLoop();
    return 0;
}
