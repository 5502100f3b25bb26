// Reports go through stdio's standard error, which is unbuffered, one whole line per write.
#include "app/playback/source_stats.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/core/wall_clock.h"
#include "app/scene/scene_light.h"
#include "physical/wall_setup.h"

namespace {

constexpr unsigned kReportIntervalMs = 1000;

// In real units, the light line of the view shown too; not at exit, when the window is gone.
void reportAndRearm(int) {
    printSourceStats();
    if (wallSetup.realUnits)
        std::fprintf(stderr, "%s\n",
                     shownLightLine(effectParameters, shownLightView(effectParameters)).c_str());
    glutTimerFunc(kReportIntervalMs, reportAndRearm, 0);
}

}  // namespace

void printSourceStats() {
    const FrameClock::time_point now = frameClockNow();
    std::vector<ShownContent>& pictures = pictureCatalogue.contents;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (!pictures[i].source) continue;
        const bool shown = static_cast<int>(i) == effectParameters.picture;
        std::string lines = pictures[i].source->statsLine(shown);
        if (lines.empty()) continue;
        // The rate closes the source's own line, the first; later ones detail it.
        char rate[32];
        std::snprintf(rate, sizeof rate, ", %.1f fps", pictures[i].shownRate.framesPerSecond(now));
        lines.insert(std::min(lines.find('\n'), lines.size()), rate);
        std::fprintf(stderr, "%s\n", lines.c_str());
    }
}

void startSourceStatsReports() {
    glutTimerFunc(kReportIntervalMs, reportAndRearm, 0);
    std::atexit(printSourceStats);
}
