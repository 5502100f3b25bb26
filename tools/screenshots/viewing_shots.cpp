// The viewing shots: one table of camera places, taken once through Billboard II in the normal
// view (plain LEDs) and once in the night scene (the preset's Billboard IV).
#include "tools/screenshots/viewing_shots.h"

#include <cmath>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/core/starting_view.h"
#include "camera/camera.h"
#include "tools/screenshots/scene_window.h"

namespace {

// A camera place: `distance` from the face's centre, `degrees` off its axis to the right, or
// up from below when `fromBelow`.
struct ViewingPlace {
    const char* name;
    double degrees;
    bool fromBelow;
    double distance;
};

constexpr ViewingPlace kNear = {"near", 0, false, 10};
constexpr ViewingPlace kPlaces[] = {
    {"head-on", 0, false, 60},
    {"side-45", 45, false, 60},
    {"side-70", 70, false, 60},
    {"below-30", 30, true, 30},
    kNear,
    {"far", 0, false, 95},
};

void viewFrom(const ViewingPlace& place, float centreHeight) {
    constexpr double kPi = 3.14159265358979;
    const double off = place.distance * std::sin(place.degrees * kPi / 180);
    const double ahead = place.distance * std::cos(place.degrees * kPi / 180);
    const float x = place.fromBelow ? 0.0f : float(off);
    const float y = place.fromBelow ? centreHeight - float(off) : centreHeight;
    camera.positionCamera(x, y, float(ahead), 0, centreHeight, 0, 0, 1, 0);
}

bool takeScene(const std::string& prefix, float centreHeight,
               const std::function<bool(const std::string&)>& writeShot) {
    bool ok = true;
    for (const ViewingPlace& place : kPlaces) {
        viewFrom(place, centreHeight);
        drawFrame();
        ok = writeShot(prefix + place.name + ".png") && ok;
    }
    return ok;
}

}  // namespace

bool takeViewingShots(const std::string& folder,
                      const std::function<bool(const std::string&)>& writeShot) {
    // The normal view's face is centred at height 15, the scene's at 20.
    if (effectParameters.dayScene || effectParameters.nightScene) keyboard('r', 0, 0);  // reset
    chooseEffect(effectParameters, 1);
    bool ok = takeScene(folder + "/view-normal-", 15, writeShot);
    // The gray logo up close, whose even tones show each LED's own tint and brightness.
    for (int picture = 0; picture < 3; ++picture) keyboard('t', 0, 0);
    chooseEffect(effectParameters, 1);
    viewFrom(kNear, 15);
    drawFrame();
    ok = writeShot(folder + "/view-normal-near-grey.png") && ok;
    keyboard('2', 0, 0);  // the night preset, through the real key
    ok = takeScene(folder + "/view-night-", 20, writeShot) && ok;
    keyboard('2', 0, 0);  // and off again
    placeCamera(camera, kStartingView);
    return ok;
}
