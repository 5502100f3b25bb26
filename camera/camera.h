// The one first-person camera: an eye point, a point looked at one unit in front of it and an
// up vector. Turning rotates the point looked at about the eye; walking moves both points.
// Turn amounts are in units of 1/500 radian (one pixel of mouse drag).
#pragma once

#include "camera/vector3.h"

class Camera {
  public:
    Camera() : position(vZero), view(vZero), upVector(0.0f, 1.0f, 0.0f) {}

    // Eye (px, py, pz), target (vx, vy, vz), up (ux, uy, uz). The stored view point is one
    // unit from the eye towards the target, not the target itself.
    void positionCamera(float px, float py, float pz, float vx, float vy, float vz, float ux,
                        float uy, float uz);

    // Multiplies the look-at transform onto the current GL matrix.
    void look() const;

    // Turns the view point about the eye by angle radians about the unit axis (x, y, z),
    // counter-clockwise when the axis points at the viewer.
    void rotateView(float angle, float x, float y, float z);

    // Turns about the world's y axis; a positive amount turns left seen from above.
    void turnHorizontal(float amount);

    // Tilts about the rightward axis; a positive amount tilts up. The sum of all tilts is
    // kept within [-kPitchLimit, kPitchLimit], and a turn that would cross it ends on it.
    void turnVertical(float amount);

    // Sideways walk in the ground plane (positive: to the right); heights stay unchanged.
    void strafe(float amount);

    // Walk along the view direction, all three components (positive: forwards).
    void move(float amount);

    Vector3 getPosition() const { return position; }
    Vector3 getView() const { return view; }
    Vector3 getUpVector() const { return upVector; }
    float getPitch() const { return pitch; }

    // Radians of accumulated tilt allowed either way: a little more than a quarter turn, so
    // the view can reach straight up or down but never roll over the top.
    static constexpr float kPitchLimit = 2.0f;
    // Turn units per radian: one pixel of mouse drag is 1/500 radian.
    static constexpr float kTurnUnitsPerRadian = 500.0f;

  private:
    Vector3 position;
    Vector3 view;
    Vector3 upVector;
    // Sum of all vertical turns so far and its value before the latest one. Placement does
    // not reset them: they count turns, not the view's actual elevation.
    float pitch = 0.0f;
    float previousPitch = 0.0f;
};
