// The key table: float parameters in steps of 0.005 within their limits, the integer
// parameters, picture and effect cycling, the reset, the two scene presets and the camera
// keys. Every console line goes out through consolePrint, which flushes it at once.
#include "app/effect_keys.h"

#include <algorithm>
#include <climits>

#include "app/console.h"
#include "effects/effect_programs.h"

namespace {

// One step of every float key. Added in double precision, then stored as a float, and only
// then limited, so the limits compare against the value that is actually kept.
constexpr double kFloatStep = 0.005;

struct FloatKey {
    unsigned char key;
    unsigned char shiftedKey;  // the other character of the same key cap
    float EffectParameters::*field;
    double step;
    float lower;
    float upper;
    const char* label;
};

// The key lines name the range "[0.0,1.0]" even for the luminance boost, whose range is
// [-1, 1]; the effect printouts below name it correctly. Both wordings are the program's own.
const FloatKey floatKeys[] = {
    {'\'', '"', &EffectParameters::luminanceBoost, kFloatStep, -1.0f, 1.0f,
     "luminance_boost [0.0,1.0]"},
    {';', ':', &EffectParameters::luminanceBoost, -kFloatStep, -1.0f, 1.0f,
     "luminance_boost [0.0,1.0]"},
    {'0', ')', &EffectParameters::tolerance, kFloatStep, 0.0f, 1.0f, "tolerance [0.0,1.0]"},
    {'9', '(', &EffectParameters::tolerance, -kFloatStep, 0.0f, 1.0f, "tolerance [0.0,1.0]"},
    {']', '}', &EffectParameters::pixelRadius, kFloatStep, 0.0f, 1.0f, "pixelRadius [0.0,1.0]"},
    {'[', '{', &EffectParameters::pixelRadius, -kFloatStep, 0.0f, 1.0f, "pixelRadius [0.0,1.0]"},
    {'c', 'C', &EffectParameters::colorBoost, kFloatStep, 0.0f, 1.0f, "color_boost [0.0,1.0]"},
    {'x', 'X', &EffectParameters::colorBoost, -kFloatStep, 0.0f, 1.0f, "color_boost [0.0,1.0]"},
    {'p', 'P', &EffectParameters::burntOutPercent, kFloatStep, 0.0f, 1.0f,
     "burnt_out_percent [0.0,1.0]"},
    {'o', 'O', &EffectParameters::burntOutPercent, -kFloatStep, 0.0f, 1.0f,
     "burnt_out_percent [0.0,1.0]"},
};

// The effect printout lists the parameters in this order; effect m prints the first
// effectLineCounts[m] of them (each effect adds its own to those of the one below it).
enum class Parameter { pixelSize, pixelRadius, tolerance, steps, boost, color, burntOut };
constexpr Parameter printoutOrder[] = {
    Parameter::pixelSize, Parameter::pixelRadius, Parameter::tolerance, Parameter::steps,
    Parameter::boost,     Parameter::color,       Parameter::burntOut};
constexpr int effectLineCounts[kEffectCount] = {1, 3, 5, 7};
constexpr int kResetLineCount = 7;
constexpr int kResetMode = 0;

// The scene presets show two pictures through the fourth effect.
constexpr int kPresetPictureCount = 2;
constexpr int kPresetMode = 3;
constexpr int kPresetLuminanceSteps = 16;

struct ScenePreset {
    float tolerance;
    float colorBoost;
    float luminanceBoost;
};
constexpr ScenePreset dayPreset = {0.3f, 0.03f, -0.25f};
constexpr ScenePreset nightPreset = {0.5f, 0.075f, 0.13f};

void printParameter(Parameter parameter, const EffectParameters& state, const char* end) {
    switch (parameter) {
        case Parameter::pixelSize:
            consolePrint("pixelSize = %i\n%s", state.pixelSize, end);
            break;
        case Parameter::pixelRadius:
            consolePrint("pixelRadius [0.0,1.0] = %f\n%s", double(state.pixelRadius), end);
            break;
        case Parameter::tolerance:
            consolePrint("tolerance [0.0,1.0] = %f\n%s", double(state.tolerance), end);
            break;
        case Parameter::steps:
            consolePrint("luminance_steps = %i\n%s", state.luminanceSteps, end);
            break;
        case Parameter::boost:
            consolePrint("luminance_boost [-1.0,1.0] = %f\n%s", double(state.luminanceBoost), end);
            break;
        case Parameter::color:
            consolePrint("color_boost [0.0,1.0] = %f\n%s", double(state.colorBoost), end);
            break;
        case Parameter::burntOut:
            consolePrint("burnt_out_percent [0.0,1.0] = %f\n%s", double(state.burntOutPercent),
                         end);
            break;
    }
}

void printBlock(const char* name, int lineCount, const EffectParameters& state) {
    consolePrint("%s\n", name);
    for (int i = 0; i < lineCount; ++i)
        printParameter(printoutOrder[i], state, i + 1 == lineCount ? "\n" : "");
}

void printPixelSize(const EffectParameters& state) {
    consolePrint("pixelSize = %i\n", state.pixelSize);
}

const PictureInfo& currentPicture(const EffectParameters& state) {
    return pictureCatalogue.pictures[state.picture];
}

void applyFloatKey(const FloatKey& entry, EffectParameters& state) {
    float& value = state.*entry.field;
    value = float(double(value) + entry.step);
    if (value > entry.upper) value = entry.upper;
    if (value < entry.lower) value = entry.lower;
    consolePrint("%s = %f\n", entry.label, double(value));
}

// A picture that failed to load has no size (0 by 0); so does, in effect, one whose smaller
// side is below its cell step. The upper limit then stays at the step, so the cell size
// never drops to 0 or below one step.
void growPixelSize(EffectParameters& state) {
    const PictureInfo& info = currentPicture(state);
    state.pixelSize += info.step;
    int limit = info.width < info.height ? info.width : info.height;
    limit = std::max(limit, info.step);
    if (state.pixelSize > limit) state.pixelSize = limit;
    printPixelSize(state);
}

void shrinkPixelSize(EffectParameters& state) {
    const int step = currentPicture(state).step;
    state.pixelSize -= step;
    if (state.pixelSize <= 0) state.pixelSize = step;
    printPixelSize(state);
}

void nextPicture(EffectParameters& state) {
    state.picture += 1;
    if (state.picture >= state.pictureCount) state.picture = 0;
    state.pixelSize = startingPixelSize(pictureCatalogue, state.picture);
    printPixelSize(state);
}

void nextEffect(EffectParameters& state) {
    state.mode += 1;
    if (state.mode >= kEffectCount) state.mode = 0;
    state.program = effectPrograms[state.mode];
    printEffect(state);
}

void reset(EffectParameters& state) {
    state.pixelSize = startingPixelSize(pictureCatalogue, state.picture);
    state.tolerance = kStartingParameters.tolerance;
    state.pixelRadius = kStartingParameters.pixelRadius;
    state.luminanceSteps = kStartingParameters.luminanceSteps;
    state.luminanceBoost = kStartingParameters.luminanceBoost;
    state.colorBoost = kStartingParameters.colorBoost;
    state.burntOutPercent = kStartingParameters.burntOutPercent;
    state.pictureCount = kStartingParameters.pictureCount;
    state.mode = kResetMode;
    state.program = effectPrograms[kResetMode];
    printBlock(effectInfos[kResetMode].name, kResetLineCount, state);
    state.dayScene = false;
    state.nightScene = false;
}

void applyPreset(const ScenePreset& preset, EffectParameters& state) {
    state.picture = 0;
    state.mode = kPresetMode;
    state.program = effectPrograms[kPresetMode];
    state.pictureCount = kPresetPictureCount;
    state.pixelSize = startingPixelSize(pictureCatalogue, 0);
    state.tolerance = preset.tolerance;
    state.pixelRadius = kStartingParameters.pixelRadius;
    state.colorBoost = preset.colorBoost;
    state.burntOutPercent = kStartingParameters.burntOutPercent;
    state.luminanceBoost = preset.luminanceBoost;
    state.luminanceSteps = kPresetLuminanceSteps;
}

// Switching a preset off acts as the reset key, which also clears both flags.
void toggleScene(bool& flag, bool& otherFlag, const ScenePreset& preset, EffectParameters& state) {
    flag = !flag;
    otherFlag = false;
    if (flag)
        applyPreset(preset, state);
    else
        reset(state);
}

void printCamera(const Camera& viewer) {
    const Vector3 p = viewer.getPosition();
    const Vector3 v = viewer.getView();
    const Vector3 u = viewer.getUpVector();
    consolePrint("%f %f %f \n\tat %f %f %f \n\tup %f %f %f", double(p.x), double(p.y), double(p.z),
                 double(v.x), double(v.y), double(v.z), double(u.x), double(u.y), double(u.z));
}

}  // namespace

EffectParameters effectParameters;

void printEffect(const EffectParameters& state) {
    printBlock(effectInfos[state.mode].name, effectLineCounts[state.mode], state);
}

void applyKey(unsigned char key, EffectParameters& state, Camera& viewer) {
    for (const FloatKey& entry : floatKeys) {
        if (key == entry.key || key == entry.shiftedKey) {
            applyFloatKey(entry, state);
            return;
        }
    }
    switch (key) {
        case '.':
        case '>':
            // No upper limit as such; stopping at the largest int only keeps it from wrapping.
            if (state.luminanceSteps < INT_MAX) state.luminanceSteps += 1;
            consolePrint("luminance_steps = %i\n", state.luminanceSteps);
            break;
        case ',':
        case '<':
            state.luminanceSteps -= 1;
            if (state.luminanceSteps < 0) state.luminanceSteps = 0;
            consolePrint("luminance_steps = %i\n", state.luminanceSteps);
            break;
        case '=':
        case '+':
            growPixelSize(state);
            break;
        case '-':
        case '_':
            shrinkPixelSize(state);
            break;
        case 't':
            nextPicture(state);
            break;
        case 'b':
            nextEffect(state);
            break;
        case 'r':
            reset(state);
            break;
        case '1':
            toggleScene(state.dayScene, state.nightScene, dayPreset, state);
            break;
        case '2':
            toggleScene(state.nightScene, state.dayScene, nightPreset, state);
            break;
        case 'w':
            viewer.move(cameraStep);
            break;
        case 's':
            viewer.move(-cameraStep);
            break;
        case 'd':
            viewer.strafe(cameraStep);
            break;
        case 'a':
            viewer.strafe(-cameraStep);
            break;
        case 'l':
            printCamera(viewer);
            break;
        default:
            break;
    }
}
