// Start-up of the program: the banner, then one sequence from the window to the loaded scene
// that the program, the screenshot tool and the frame benchmark all go through.
#pragma once

#include <functional>
#include <vector>

#include "app/core/picture_catalogue.h"
#include "app/playback/content_files.h"

void printBanner();

// Fixed GL state: shading, depth test, texturing, culling, viewport, projection, modelview.
void initGraphics();

// The steps of start-up that a caller can time, each reported as it ends.
enum class StartupStep {
    windowOpened,   // window, callbacks, GL state, GLEW and the programmable-pipeline check
    programsBuilt,  // the four effect programs
    sceneLoaded,    // camera, frame model, pictures, cell steps, first effect and its lines
};

struct StartupOptions {
    PictureFiles pictures = kBuiltInPictureFiles;  // the billboard pictures of the scene load
    // The user's content, opened, shown instead of `pictures` when there is any; decoded
    // pixels are handed to GL and released.
    std::vector<Content>* contents = nullptr;
    int windowWidth = 700;
    int windowHeight = 700;
    std::function<void(StartupStep)> stepDone;  // called as each step ends, when set
};

// Initialises GLUT with the command line, opens the "Glimmerboard" window (700 by 700 unless
// the options say otherwise),
// registers the six callbacks, sets the GL state, initialises GLEW, builds the effect
// programs and loads the scene, in that order. Returns false, with the window open but
// nothing built or read, when GL lacks the programmable pipeline, and when a live feed's wall
// is larger than GL's textures (after saying so). The event loop is the caller's to run.
bool startUp(int* argc, char** argv, const StartupOptions& options = {});
