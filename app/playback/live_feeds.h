// The live feeds as the user's first content: each --listen bound before the window opens
// (a port that is taken ends the program there), its receiver started, its source placed
// before the files given.
#pragma once

#include <vector>

#include "app/command_line/feed_options.h"
#include "app/playback/content_files.h"

// Opens every feed and puts them, in the order given, before `contents`. False after an
// error on standard error, when one cannot be opened.
bool openLiveFeeds(const FeedOptions& options, std::vector<Content>& contents);

// For --shots: waits up to the --wait time for a first frame of every feed among the
// contents. A feed that got none is reported and left out of the review (after its statistics
// line, with `stats`, for what did come); false when one got none.
bool waitForLiveFeeds(const FeedOptions& options, bool stats, std::vector<Content>& contents);
