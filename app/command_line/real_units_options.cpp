// Every figure is read whole (no trailing text) and checked against its limits here; the
// messages name the option, as the command line's other mistakes do.
#include "app/command_line/real_units_options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "physical/units.h"

namespace {

// The finest pitch of any wall and a coarse pitch well beyond the coarsest sold.
constexpr double kMinPitchMillimetres = 0.1;
constexpr double kMaxPitchMillimetres = 1000;
// A face may stand on a building's roof, not in orbit; a viewer may stand on a hill.
constexpr double kMaxMountMetres = 1000;
constexpr double kMaxEyeHeightMetres = 1000;
// A viewer stands in front of the face: from the axis to a little short of the face's plane.
constexpr double kMaxViewerAngleDegrees = 89;
// Decimal acuity: 4.0 is beyond the keenest eyes measured; anything above 0 is some eyesight.
constexpr double kMaxDecimalAcuity = 4;

std::optional<double> parseNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

bool parseWallMetres(std::string_view text, RealUnitsOptions& options) {
    text.remove_suffix(1);  // the 'm'
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    const auto width = parseNumber(text.substr(0, x));
    const auto height = parseNumber(text.substr(x + 1));
    if (!width || !height || !(*width > 0) || !(*height > 0)) return false;
    options.widthMetres = *width;
    options.heightMetres = *height;
    options.metresGiven = true;
    return true;
}

bool parseViewer(std::string_view text, Viewer& viewer) {
    const std::vector<std::string_view> parts = splitAt(text, ',');
    if (parts.size() > 3) return false;
    const auto distance = parseNumber(parts[0]);
    if (!distance || *distance < kNearestViewerMetres || *distance > kFarthestViewerMetres)
        return false;
    viewer.distanceMetres = *distance;
    if (parts.size() > 1) {
        const auto height = parseNumber(parts[1]);
        if (!height || *height < 0 || *height > kMaxEyeHeightMetres) return false;
        viewer.eyeHeightMetres = *height;
    }
    if (parts.size() > 2) {
        const auto degrees = parseNumber(parts[2]);
        if (!degrees || std::abs(*degrees) > kMaxViewerAngleDegrees) return false;
        viewer.angleRadians = radiansFromDegrees(*degrees);
    }
    return true;
}

// 20/20, 6/6, 20/40 (a Snellen fraction: distance tested over the distance at which the
// smallest line read subtends the normal angle) or a decimal acuity such as 0.5.
bool parseEye(std::string_view text, WallSetup& setup) {
    std::optional<double> acuity;
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        const auto tested = parseNumber(text.substr(0, slash));
        const auto seen = parseNumber(text.substr(slash + 1));
        if (tested && seen && *tested > 0 && *seen > 0) acuity = *tested / *seen;
    } else {
        acuity = parseNumber(text);
    }
    if (!acuity || !(*acuity > 0) || *acuity > kMaxDecimalAcuity) return false;
    setup.decimalAcuity = *acuity;
    setup.eyesight = std::string(text);
    return true;
}

std::optional<WallFit> parseFit(std::string_view text) {
    if (text == "contain") return WallFit::contain;
    if (text == "cover") return WallFit::cover;
    if (text == "stretch") return WallFit::stretch;
    return std::nullopt;
}

bool isWallInMetres(std::string_view option, std::string_view value) {
    return option == "--wall" && !value.empty() && (value.back() == 'm' || value.back() == 'M');
}

}  // namespace

bool parseRealUnitsOption(int argc, char** argv, int& i, RealUnitsOptions& options,
                          std::string& error) {
    const std::string_view option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--wall") {
        if (!hasValue || !isWallInMetres(option, argv[i + 1])) return false;
    } else if (option != "--pitch" && option != "--mount" && option != "--fit" &&
               option != "--viewer" && option != "--eye") {
        return false;
    }
    if (!hasValue) {
        error = std::string(option) + " needs a value";
        return true;
    }
    const std::string_view value = argv[++i];
    WallSetup& setup = options.setup;
    if (option == "--pitch") {
        const auto millimetres = parseNumber(value);
        if (!millimetres || *millimetres < kMinPitchMillimetres ||
            *millimetres > kMaxPitchMillimetres) {
            error =
                "--pitch needs the distance between LED centres in millimetres, from 0.1 to "
                "1000";
            return true;
        }
        setup.pitchMetres = metresFromMillimetres(*millimetres);
        setup.realUnits = true;
    } else if (option == "--wall") {
        if (!parseWallMetres(value, options))
            error = "--wall needs WIDTHxHEIGHTm, each side in metres above 0";
    } else if (option == "--mount") {
        const auto metres = parseNumber(value);
        if (!metres || *metres < 0 || *metres > kMaxMountMetres) {
            error = "--mount needs the height of the face's bottom edge in metres, from 0 to 1000";
            return true;
        }
        setup.mountMetres = *metres;
        options.mountGiven = true;
    } else if (option == "--fit") {
        if (const auto fit = parseFit(value))
            setup.fit = *fit;
        else
            error = "--fit needs contain, cover or stretch";
    } else if (option == "--viewer") {
        if (!parseViewer(value, setup.viewer))
            error =
                "--viewer needs DISTANCE[,HEIGHT[,ANGLE]]: metres from 0.1 to 2000 along the "
                "ground, the eye's height from 0 to 1000 m, degrees from -89 to 89";
        options.viewerGiven = true;
    } else {
        if (!parseEye(value, setup))
            error = "--eye needs eyesight as 20/20, 6/6 or a decimal acuity such as 0.5";
        options.eyeGiven = true;
    }
    return true;
}

void finishRealUnitsOptions(RealUnitsOptions& options, WallLayout& layout, std::string& error) {
    WallSetup& setup = options.setup;
    if (!setup.realUnits) {
        if (options.metresGiven)
            error = "--wall in metres needs --pitch";
        else if (options.viewerGiven)
            error = "--viewer needs --pitch";
        else if (options.eyeGiven)
            error = "--eye needs --pitch";
        else if (options.mountGiven)
            error = "--mount needs --pitch";
        return;
    }
    if (options.metresGiven) {
        const int width = ledCountFromMetres(options.widthMetres, setup.pitchMetres);
        const int height = ledCountFromMetres(options.heightMetres, setup.pitchMetres);
        if (width < 1 || height < 1 || width > kMaxWallSide || height > kMaxWallSide) {
            error = "--wall needs WIDTHxHEIGHTm of 1 to 8192 LEDs a side at the pitch given";
            return;
        }
        layout.width = width;
        layout.height = height;
    }
    setup.widthLeds = layout.width;
    setup.heightLeds = layout.height;
    if (!options.viewerGiven)
        setup.viewer.distanceMetres =
            std::min(defaultViewerDistanceMetres(setup.pitchMetres), kFarthestViewerMetres);
}

const char* realUnitsUsageText() {
    return "  --pitch MM       show the wall in real units, its LEDs MM millimetres apart; its\n"
           "                   size is --wall WxH in LEDs (default 64x32), or WxHm in metres\n"
           "  --fit FIT        how content fills the wall's LEDs: contain (default), cover or\n"
           "                   stretch\n"
           "  --mount M        with --pitch, the face's bottom edge M metres above the ground\n"
           "                   (default 4)\n"
           "  --viewer DISTANCE[,HEIGHT[,ANGLE]]\n"
           "                   with --pitch, where the viewer stands: metres along the ground\n"
           "                   from the face (default 3438 pitches), the eye's height (1.5) and\n"
           "                   degrees to the right of the face's axis (0)\n"
           "  --eye ACUITY     with --pitch, the viewer's eyesight: 20/20 (default), 6/6, 20/40\n"
           "                   or a decimal acuity such as 0.5\n";
}
