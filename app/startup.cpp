// The start-up sequence (banner, window, callbacks, fixed GL state, GLEW, the extension check,
// the effect programs, the scene) and the reshape callback, which resets the projection to
// the window's new size.
#include "app/startup.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>

#include "app/callbacks.h"
#include "app/glut_window.h"
#include "app/scene/projection.h"
#include "app/scene_load.h"
#include "effects/effect_programs.h"

namespace {

void writeLine(const char* line) {
    std::fputs(line, stdout);
    std::fflush(stdout);
}

// Display, reshape, special keys, keyboard, mouse button and motion, in that order.
void registerCallbacks() {
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutSpecialFunc(specialKeys);
    glutKeyboardFunc(keyboard);
    glutMouseFunc(mouseButton);
    glutMotionFunc(mouseMotion);
}

// GLEW's verdict on the two programmable-pipeline extensions, after glewInit().
bool hasProgrammablePipeline() {
    return GLEW_ARB_vertex_program && GLEW_ARB_fragment_program;
}

}  // namespace

void printBanner() {
    static const char stars[] = "**********************************************************\n";
    writeLine(stars);
    writeLine("LED Glimmerboard Demo by: Vellmark\n");
    writeLine("Please refer to included ReadMe.txt file for commands!\n");
    writeLine(stars);
    writeLine("Loading Bitmaps...\n\n");
}

void initGraphics() {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    glViewport(0, 0, width, height);
    loadPerspective(wholeNumberAspect(width, height), kFarPlane);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool startUp(int* argc, char** argv, const StartupOptions& options) {
    const auto stepDone = [&options](StartupStep step) {
        if (options.stepDone) options.stepDone(step);
    };
    openGlutWindow(argc, argv, "Glimmerboard", options.windowWidth, options.windowHeight);
    registerCallbacks();
    initGraphics();
    glewInit();
    if (!hasProgrammablePipeline()) return false;
    stepDone(StartupStep::windowOpened);
    buildEffectPrograms();
    stepDone(StartupStep::programsBuilt);
    if (!loadScene(options.pictures, options.contents)) return false;
    stepDone(StartupStep::sceneLoaded);
    return true;
}

void reshape(int width, int height) {
    if (height == 0) height = 1;
    // The true aspect, rounded to a float as the window has always had it.
    const float aspect = float(width * 1.0 / height);
    const ViewportSize viewport{width, height};
    loadPerspective(aspect, kFarPlane, &viewport);
    // The modelview matrix is not reset here: display() loads identity every frame.
    glMatrixMode(GL_MODELVIEW);
}
