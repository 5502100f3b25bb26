// Perspective set-up shared by start-up, reshape and the scene views.
#pragma once

constexpr double kFieldOfViewDegrees = 45.0;
constexpr double kNearPlane = 0.9;
constexpr double kFarPlane = 100.0;
constexpr double kSceneFarPlane = 300.0;

// The whole-number aspect used at start-up and by the scene views: width div height. A
// window narrower than tall has a quotient of 0, which would give a degenerate projection;
// there the true aspect width / height is used instead. A height of 0 counts as 1.
double wholeNumberAspect(int width, int height);

struct ViewportSize {
    int width = 0, height = 0;
};

// Selects the projection matrix, loads identity, sets `viewport` when given (the window's
// reshape sets it there, between the two) and applies the perspective; the caller selects
// the modelview matrix again when its order of calls allows.
void loadPerspective(double aspect, double farPlane, const ViewportSize* viewport = nullptr);
