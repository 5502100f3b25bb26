// The key table: each effect parameter with its keys, step, limits and console label in one
// row; picture and effect cycling, the reset, the two scene presets and the camera keys.
// Every console line goes out through consolePrint, which flushes it at once.
#include "app/core/effect_keys.h"

#include <algorithm>
#include <climits>

#include "app/core/console.h"
#include "app/core/run_state.h"
#include "effects/effect_programs.h"
#include "physical/wall_setup.h"

namespace {

using P = EffectParameters;

// How a parameter's keys change it.
enum class Stepping {
    // A float: the step is added in double precision, the sum stored as a float, and only
    // then limited, so the limits compare against the value that is actually kept.
    real,
    // An int, limited.
    whole,
    // The cell size: the current picture's cell step, limited by the picture's size.
    cell,
};

// Both characters of one key cap, as a US layout has them.
struct KeyCap {
    unsigned char key;
    unsigned char shiftedKey;
    bool matches(unsigned char c) const { return c == key || c == shiftedKey; }
};

// One effect parameter. Its field is realField for a float, wholeField for an int.
struct ParameterRow {
    KeyCap raise;
    KeyCap lower;
    Stepping stepping;
    float P::*realField;
    int P::*wholeField;
    double step;
    double lowest;
    double highest;
    const char* label;     // in the effect printout
    const char* keyLabel;  // on the lines of its own keys, when it differs from `label`
};

constexpr double kFloatStep = 0.005;

// In the order of the effect printout: effect m prints the first effectLineCounts[m] rows,
// each effect adding its own to those of the one below it. The luminance boost's key lines
// name the range "[0.0,1.0]" although its range is [-1, 1], while the printout names it
// correctly; both wordings are the program's own. The luminance steps have no upper limit
// as such; stopping at the largest int only keeps them from wrapping.
// clang-format off
constexpr ParameterRow parameterRows[] = {
    {{'=', '+'}, {'-', '_'}, Stepping::cell, nullptr, &P::pixelSize, 0, 0, 0, "pixelSize", nullptr},
    {{']', '}'}, {'[', '{'}, Stepping::real, &P::pixelRadius, nullptr, kFloatStep, 0, 1,
     "pixelRadius [0.0,1.0]", nullptr},
    {{'0', ')'}, {'9', '('}, Stepping::real, &P::tolerance, nullptr, kFloatStep, 0, 1,
     "tolerance [0.0,1.0]", nullptr},
    {{'.', '>'}, {',', '<'}, Stepping::whole, nullptr, &P::luminanceSteps, 1, 0, INT_MAX,
     "luminance_steps", nullptr},
    {{'\'', '"'}, {';', ':'}, Stepping::real, &P::luminanceBoost, nullptr, kFloatStep, -1, 1,
     "luminance_boost [-1.0,1.0]", "luminance_boost [0.0,1.0]"},
    {{'c', 'C'}, {'x', 'X'}, Stepping::real, &P::colorBoost, nullptr, kFloatStep, 0, 1,
     "color_boost [0.0,1.0]", nullptr},
    {{'p', 'P'}, {'o', 'O'}, Stepping::real, &P::burntOutPercent, nullptr, kFloatStep, 0, 1,
     "burnt_out_percent [0.0,1.0]", nullptr},
};
// clang-format on
constexpr const ParameterRow& pixelSizeRow = parameterRows[0];

constexpr int effectLineCounts[kEffectCount] = {1, 3, 5, 7};
constexpr int kResetLineCount = 7;

// The scene presets show two pictures (one when the user gave only one) through the fourth
// effect.
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

// "label = value", then `end` (an empty line closes an effect printout).
void printParameter(const ParameterRow& row, const char* label, const EffectParameters& state,
                    const char* end) {
    if (row.realField)
        consolePrint("%s = %f\n%s", label, double(state.*row.realField), end);
    else
        consolePrint("%s = %i\n%s", label, state.*row.wholeField, end);
}

const char* keyLabel(const ParameterRow& row) {
    return row.keyLabel ? row.keyLabel : row.label;
}

void printBlock(const char* name, int lineCount, const EffectParameters& state) {
    consolePrint("%s\n", name);
    for (int i = 0; i < lineCount; ++i) {
        const ParameterRow& row = parameterRows[i];
        printParameter(row, row.label, state, i + 1 == lineCount ? "\n" : "");
    }
}

// A picture that failed to load has no size (0 by 0); so does, in effect, one whose smaller
// side is below its cell step. The upper limit then stays at the step, so the cell size
// never drops to 0 or below one step.
void stepPixelSize(int direction, EffectParameters& state, const PictureInfo& info) {
    if (direction > 0) {
        state.pixelSize += info.step;
        const int limit = std::max(std::min(info.width, info.height), info.step);
        if (state.pixelSize > limit) state.pixelSize = limit;
    } else {
        state.pixelSize -= info.step;
        if (state.pixelSize <= 0) state.pixelSize = info.step;
    }
}

// Raising is limited at the top, lowering at the bottom.
void stepParameter(const ParameterRow& row, int direction, EffectParameters& state,
                   const PictureCatalogue& catalogue) {
    switch (row.stepping) {
        case Stepping::real: {
            float& value = state.*row.realField;
            value = float(double(value) + direction * row.step);
            if (direction > 0 && value > row.highest) value = float(row.highest);
            if (direction < 0 && value < row.lowest) value = float(row.lowest);
            break;
        }
        case Stepping::whole: {
            int& value = state.*row.wholeField;
            const long long next = value + direction * static_cast<long long>(row.step);
            if (direction > 0)
                value = int(std::min(next, static_cast<long long>(row.highest)));
            else
                value = int(std::max(next, static_cast<long long>(row.lowest)));
            break;
        }
        case Stepping::cell:
            stepPixelSize(direction, state, pictureInfo(catalogue, state.picture));
            break;
    }
    printParameter(row, keyLabel(row), state, "");
}

// The user's content is named, with the LEDs its wall has at the cell size it starts with (a
// cell cut at the picture's edge counts as one); the built-in pictures are not.
void printPictureName(const EffectParameters& state, const PictureCatalogue& catalogue) {
    const ShownContent& content = shownContent(catalogue, state.picture);
    if (content.builtIn()) return;
    const PictureInfo& info = content.info;
    const int cell = std::max(state.pixelSize, 1);
    consolePrint("%s: %d x %d LEDs\n", content.name.c_str(), (info.width + cell - 1) / cell,
                 (info.height + cell - 1) / cell);
}

void nextPicture(EffectParameters& state, const PictureCatalogue& catalogue) {
    state.picture += 1;
    if (state.picture >= state.pictureCount) state.picture = 0;
    state.pixelSize = startingPixelSize(catalogue, state.picture);
    printPictureName(state, catalogue);
    printParameter(pixelSizeRow, keyLabel(pixelSizeRow), state, "");
}

void nextEffect(EffectParameters& state) {
    chooseEffect(state, state.mode + 1 < kEffectCount ? state.mode + 1 : 0);
    printEffect(state);
}

// The picture stays; everything else, the scene flags included, starts afresh.
void reset(EffectParameters& state, const PictureCatalogue& catalogue) {
    state = startingParameters(catalogue, state.picture);
    printBlock(effectInfos[state.mode].name, kResetLineCount, state);
}

// In real units the wall's brightness is `--nits`, so a preset leaves the luminance boost as it
// is: a boost drives every LED, black ones too, and the light model turns that into light.
void applyPreset(const ScenePreset& preset, EffectParameters& state,
                 const PictureCatalogue& catalogue) {
    state.picture = 0;
    chooseEffect(state, kPresetMode);
    state.pictureCount = std::min(kPresetPictureCount, billboardPictureCount(catalogue));
    state.pixelSize = startingPixelSize(catalogue, 0);
    state.tolerance = preset.tolerance;
    state.pixelRadius = kStartingParameters.pixelRadius;
    state.colorBoost = preset.colorBoost;
    state.burntOutPercent = kStartingParameters.burntOutPercent;
    if (!wallSetup.realUnits) state.luminanceBoost = preset.luminanceBoost;
    state.luminanceSteps = kPresetLuminanceSteps;
}

// Switching a preset off acts as the reset key, which also clears both flags.
void toggleScene(bool& flag, bool& otherFlag, const ScenePreset& preset, EffectParameters& state,
                 const PictureCatalogue& catalogue) {
    flag = !flag;
    otherFlag = false;
    if (flag)
        applyPreset(preset, state, catalogue);
    else
        reset(state, catalogue);
}

void printCamera(const Camera& viewer) {
    const Vector3 p = viewer.getPosition();
    const Vector3 v = viewer.getView();
    const Vector3 u = viewer.getUpVector();
    consolePrint("%f %f %f \n\tat %f %f %f \n\tup %f %f %f", double(p.x), double(p.y), double(p.z),
                 double(v.x), double(v.y), double(v.z), double(u.x), double(u.y), double(u.z));
}

}  // namespace

EffectParameters startingParameters(const PictureCatalogue& catalogue, int picture) {
    EffectParameters state = kStartingParameters;
    chooseEffect(state, kStartingParameters.mode);
    state.picture = picture;
    state.pictureCount = billboardPictureCount(catalogue);
    state.pixelSize = startingPixelSize(catalogue, picture);
    return state;
}

void printEffect(const EffectParameters& state) {
    printBlock(effectInfos[state.mode].name, effectLineCounts[state.mode], state);
}

void applyKey(unsigned char key, EffectParameters& state, const PictureCatalogue& catalogue,
              Camera& viewer) {
    for (const ParameterRow& row : parameterRows) {
        if (row.raise.matches(key) || row.lower.matches(key)) {
            stepParameter(row, row.raise.matches(key) ? 1 : -1, state, catalogue);
            return;
        }
    }
    switch (key) {
        case 't':
            nextPicture(state, catalogue);
            break;
        case 'b':
            nextEffect(state);
            break;
        case 'r':
            reset(state, catalogue);
            break;
        case '1':
            toggleScene(state.dayScene, state.nightScene, dayPreset, state, catalogue);
            break;
        case '2':
            toggleScene(state.nightScene, state.dayScene, nightPreset, state, catalogue);
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
