// --nits DAY[,NIGHT], --ambient DAY[,NIGHT] and --watts W: positive finite numbers, a NIGHT
// left out keeping its own default.
#include "app/command_line/light_options.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// The brightest walls made are a little over 10,000 nits; a hundred thousand is beyond any.
constexpr double kMaxNits = 100000;

bool parsePositive(std::string_view text, double high, double& value) {
    double parsed = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (failure != std::errc{} || end != text.data() + text.size() || !std::isfinite(parsed) ||
        parsed <= 0 || parsed > high)
        return false;
    value = parsed;
    return true;
}

// DAY or DAY,NIGHT; NIGHT keeps its value when it is not given.
bool parseDayNight(std::string_view text, double high, double& day, double& night) {
    const std::size_t comma = text.find(',');
    double dayValue = 0, nightValue = night;
    if (!parsePositive(text.substr(0, comma), high, dayValue)) return false;
    if (comma != std::string_view::npos && !parsePositive(text.substr(comma + 1), high, nightValue))
        return false;
    day = dayValue;
    night = nightValue;
    return true;
}

}  // namespace

bool parseLightOption(int argc, char** argv, int& i, LightSettings& settings, std::string& error) {
    const std::string_view option = argv[i];
    if (option != "--nits" && option != "--ambient" && option != "--watts") return false;
    if (i + 1 >= argc) {
        error = std::string(option) + " needs a value";
        return true;
    }
    const std::string_view value = argv[++i];
    if (option == "--nits") {
        if (!parseDayNight(value, kMaxNits, settings.peakNitsDay, settings.peakNitsNight))
            error = "--nits needs DAY[,NIGHT], luminances above 0 and at most 100000 nits";
    } else if (option == "--ambient") {
        if (!parseDayNight(value, HUGE_VAL, settings.ambientLuxDay, settings.ambientLuxNight))
            error = "--ambient needs DAY[,NIGHT], illuminances above 0 lux";
    } else if (!parsePositive(value, HUGE_VAL, settings.wattsPerSquareMetre)) {
        error = "--watts needs a power above 0 watts a square metre";
    }
    return true;
}

const char* lightUsageText() {
    return "  --nits DAY[,NIGHT]  the wall's peak white in nits by day and at night\n"
           "                   (default 6000,300)\n"
           "  --ambient DAY[,NIGHT]  the light on the wall's face in lux by day and at night\n"
           "                   (default 40000,10)\n"
           "  --watts W        the wall's draw at full white by day, in watts a square metre\n"
           "                   (default 600)\n";
}
