// The six views the headless review draws of each user picture: the normal view in each
// effect at its starting parameters, then the day and the night scene, each reached by the
// keys a user presses in a freshly started program.
#pragma once

#include <string>

inline constexpr int kReviewViewCount = 6;  // four effects, day, night
// In real units three more: the day and the night scene from the viewer, and the eye view.
inline constexpr int kViewerReviewViewCount = 3;

// How many views the review draws of each picture: kReviewViewCount, and in real units the
// viewer's views after them.
int reviewViewCount();

// "effect-1" to "effect-4", "day", "night", then "viewer", "viewer-night", "eye": the ending
// of the view's file names.
std::string reviewViewName(int view);

// Sets the effect state and the camera to `view` of user picture `picture`, choosing the
// picture (and so showing its source) when it is not the one chosen. In real units the first
// views frame the whole wall and the viewer's views stand where the viewer does.
void chooseReviewView(int picture, int view);
