// Glimmerboard: simulated LED billboards in one GLUT window.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdlib>

#include "app/startup.h"

int main(int argc, char** argv) {
    printBanner();
    if (!startUp(&argc, argv)) std::exit(1);
    glutMainLoop();
    return 0;
}
