// The program's window and scene, opened the way start-up opens them but without the event
// loop, for tools that draw frames through the real display callback on their own.
#pragma once

// Seconds on the steady clock at which each step of opening the scene ended.
struct OpeningTimes {
    double started = 0;
    double windowOpen = 0;     // window, callbacks, GL state, GLEW
    double programsBuilt = 0;  // the four effect programs
    double sceneLoaded = 0;    // model, thirteen pictures, cell steps
};

// Seconds on the steady clock, the clock of OpeningTimes.
double steadySeconds();

// Creates the 700 by 700 window, sets the GL state, builds the effect programs and loads the
// scene from the working directory (the repository root). False when GL lacks the
// programmable pipeline. Fills `times` when given.
bool openSceneWindow(int* argc, char** argv, OpeningTimes* times = nullptr);

// Draws one frame through display() and waits until GL has finished it.
void drawFrame();
