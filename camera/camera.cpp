// Camera geometry, free of GL: placement, turns and walking, all in single precision except
// the sine and cosine, which are taken in double precision and rounded back.
#include "camera/camera.h"

#include <cmath>

void Camera::positionCamera(float px, float py, float pz, float vx, float vy, float vz, float ux,
                            float uy, float uz) {
    const Vector3 vPosition(px, py, pz);
    const Vector3 vView(vx, vy, vz);
    const Vector3 vUpVector(ux, uy, uz);
    position = vPosition;
    const Vector3 vTemp = normalize(vView - vPosition);
    view = vPosition + vTemp;
    upVector = vUpVector;
}

void Camera::rotateView(float angle, float x, float y, float z) {
    const Vector3 vView = view - position;
    const float c = float(std::cos(double(angle)));
    const float s = float(std::sin(double(angle)));
    const float t = 1.0f - c;
    Vector3 vNewView;
    vNewView.x =
        (t * x * x + c) * vView.x + (t * x * y - z * s) * vView.y + (t * x * z + y * s) * vView.z;
    vNewView.y =
        (t * x * y + z * s) * vView.x + (t * y * y + c) * vView.y + (t * y * z - x * s) * vView.z;
    vNewView.z =
        (t * x * z - y * s) * vView.x + (t * y * z + x * s) * vView.y + (t * z * z + c) * vView.z;
    view = position + vNewView;
}

void Camera::turnHorizontal(float amount) {
    rotateView(amount / kTurnUnitsPerRadian, 0.0f, 1.0f, 0.0f);
}

void Camera::turnVertical(float amount) {
    const float angle = amount / kTurnUnitsPerRadian;
    previousPitch = pitch;
    pitch = pitch + angle;
    const Vector3 vAxis = normalize(cross(view - position, upVector));
    // Looking exactly along the up vector leaves no rightward axis; turning about a zero
    // axis would shrink the view direction, so the tilt is counted but not applied.
    const bool hasAxis = !(vAxis.x == 0.0f && vAxis.y == 0.0f && vAxis.z == 0.0f);
    float turn = angle;
    if (pitch > kPitchLimit) {
        pitch = kPitchLimit;
        if (previousPitch == kPitchLimit) return;
        turn = kPitchLimit - previousPitch;
    } else if (pitch < -kPitchLimit) {
        pitch = -kPitchLimit;
        if (previousPitch == -kPitchLimit) return;
        turn = -kPitchLimit - previousPitch;
    }
    if (hasAxis) rotateView(turn, vAxis.x, vAxis.y, vAxis.z);
}

void Camera::strafe(float amount) {
    const Vector3 vStrafe = normalize(cross(view - position, upVector));
    position.x += vStrafe.x * amount;
    position.z += vStrafe.z * amount;
    view.x += vStrafe.x * amount;
    view.z += vStrafe.z * amount;
}

void Camera::move(float amount) {
    const Vector3 vVector = normalize(view - position);
    position.x += vVector.x * amount;
    position.y += vVector.y * amount;
    position.z += vVector.z * amount;
    view.x += vVector.x * amount;
    view.y += vVector.y * amount;
    view.z += vVector.z * amount;
}
