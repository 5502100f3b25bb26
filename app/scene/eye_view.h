// The eye view (key z in real units): the field of view narrowed around the face's centre so
// that the window shows what the viewer resolves, a window pixel a quarter of the acuity angle.
// The frame is drawn into an offscreen buffer finer than the window and filtered into the
// window at the eye's limit.
#pragma once

#include "app/scene/projection.h"
#include "physical/wall_setup.h"

// The vertical field of view, in degrees, for a window `heightPixels` high.
double eyeViewFieldOfViewDegrees(const WallSetup& setup, int heightPixels);

// Around display()'s drawing, when the eye view is shown in real units (else both do nothing):
// the frame goes to the offscreen buffer, then through the blur into the back buffer. Where GL
// has no framebuffer objects, the narrowed view is drawn unblurred. The first returns the size
// to draw the frame at: the window's, or the offscreen buffer's.
ViewportSize beginEyeViewFrame();
void finishEyeViewFrame();
