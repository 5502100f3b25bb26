// Glimmerboard: simulated LED billboards in one GLUT window.
//   glimmerboard [OPTIONS] [PICTURE...]   (see usageText in app/command_line.cpp)
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/command_line/command_line.h"
#include "app/core/run_state.h"
#include "app/data_folder.h"
#include "app/playback/content_files.h"
#include "app/playback/content_playback.h"
#include "app/playback/live_feeds.h"
#include "app/playback/source_stats.h"
#include "app/playback/wall_content.h"
#include "app/review/review_shots.h"
#include "app/scene/scene_light.h"
#include "app/startup.h"

int main(int argc, char** argv) {
    CommandLine line = parseCommandLine(argc, argv);
    if (line.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (!line.error.empty()) {
        std::fprintf(stderr, "glimmerboard: %s\n%s", line.error.c_str(), usageText());
        return 2;
    }
    wallSetup = line.realUnits.setup;
    lightSettings = line.light;
    printBanner();
    // The user's pictures are read from the folder the program was started in, before the
    // window opens: with none that loads there is nothing to show.
    std::vector<Content> contents = openContentFiles(line.pictures);
    if (!line.pictures.empty() && contents.empty()) return 1;
    bool everyPictureLoaded = contents.size() == line.pictures.size();
    if (!openLiveFeeds(line.feeds, contents)) return 1;
    if (wallSetup.realUnits) fitContentToWall(contents, wallSetup);
    if (!line.shotsFolder.empty()) {
        everyPictureLoaded &= waitForLiveFeeds(line.feeds, line.stats, contents);
        if (contents.empty()) return 1;
    }
    const std::string shotsFolder = line.shotsFolder.empty() ? "" : absolutePath(line.shotsFolder);
    enterDataFolder();

    StartupOptions options;
    options.contents = &contents;
    if (line.windowWidth > 0) {
        options.windowWidth = line.windowWidth;
        options.windowHeight = line.windowHeight;
    }
    int glutArgc = static_cast<int>(line.glutArguments.size()) - 1;
    if (!startUp(&glutArgc, line.glutArguments.data(), options)) std::exit(1);
    if (!shotsFolder.empty()) {
        const bool written = writeReviewShots(shotsFolder, line.reviewSeconds);
        if (line.stats) printSourceStats();  // the totals of the review's run
        return written && everyPictureLoaded ? 0 : 1;
    }
    wakeOnNewFrames();
    followChosenPicture();
    if (line.stats) startSourceStatsReports();
    glutMainLoop();
    return 0;
}
