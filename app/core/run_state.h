// The program's run-time state, in one owner: what the options set up (the wall, its light),
// what the scene load fills (the catalogue, the frame model, the camera's place, the first
// effect) and what the keys and the mouse change from then on. Each part keeps the name the
// rest of the program knows it by, as a reference into runState. The camera library itself
// holds no instance.
#pragma once

#include "app/core/picture_catalogue.h"
#include "app/core/starting_view.h"
#include "camera/camera.h"
#include "effects/effect_state.h"
#include "physical/light_line.h"
#include "physical/wall_setup.h"

// Pointer position at the previous drag event (window pixels, y growing downwards) and
// whether the left button went down in the window and has not come up yet.
struct DragState {
    int lastX = 0;
    int lastY = 0;
    bool dragging = false;
};

// Which content the frame timer follows, and the timers set for it (see content_playback).
struct PlaybackState {
    int followedPicture = -1;  // the content shown now; -1 for none
    int generation = 0;        // of the timers: one from before the last change does nothing
    bool timerSet = false;     // a timer of this generation is still to fire
};

struct RunState {
    WallSetup wallSetup;  // real units: off unless --pitch set them up
    LightSettings lightSettings;
    PictureCatalogue pictureCatalogue;
    int billboardModel = -1;  // the frame model's file index in the model library
    Camera camera;
    EffectParameters effectParameters;
    bool eyeViewShown = false;  // real units: the window shows what the viewer's eyes resolve
    DragState dragState;
    PlaybackState playback;
};

extern RunState runState;

inline WallSetup& wallSetup = runState.wallSetup;
inline LightSettings& lightSettings = runState.lightSettings;
inline PictureCatalogue& pictureCatalogue = runState.pictureCatalogue;
inline int& billboardModel = runState.billboardModel;
inline Camera& camera = runState.camera;
inline EffectParameters& effectParameters = runState.effectParameters;
inline bool& eyeViewShown = runState.eyeViewShown;
inline DragState& dragState = runState.dragState;

// The state a user has after choosing `picture` in a freshly started program: that picture's
// starting effect parameters, the eye view off, the camera at `placement`. The scene load
// starts so, and the review starts each view so.
void startFresh(int picture, const CameraPlacement& placement);

// Everything back as it is before start-up: no real units, the built-in pictures with no
// textures, no model, the camera and the effect parameters as constructed, nothing followed.
// The sources of the user's content the catalogue held are closed.
void resetRunState();
