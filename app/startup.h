// Start-up of the program: the banner, the window, the fixed GL state and the check for the
// programmable pipeline.
#pragma once

void printBanner();

// Initialises GLUT with the command line and creates the 700 by 700 "Glimmerboard" window.
void createMainWindow(int* argc, char** argv);

// Registers display, reshape, special keys, keyboard, mouse button and motion, in that order.
void registerCallbacks();

void initGraphics();

// GLEW's verdict on the two programmable-pipeline extensions, after glewInit().
bool hasProgrammablePipeline();
