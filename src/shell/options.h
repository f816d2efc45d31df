// The command line of the program, parsed once at start.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/frame.h"

// --screenshot MS:FILE.png
struct Screenshot {
    std::uint32_t tick = 0;  // the frame presented at the first pass at or after this tick
    std::string path;
};

struct Options {
    bool headless = false;
    int scale = 0;  // 0: the largest whole number that fits the screen
    platform::FrameLayout layout = platform::FrameLayout::Normal;
    std::uint32_t pixelFormat = platform::kFormat565;
    std::string keysPath;
    bool untilGiven = false;
    std::uint32_t until = 0;
    std::string tracePath;
    bool traceWorld = false;
    std::vector<Screenshot> screenshots;
    bool settingsGiven = false;
    std::string settingsDir;
    std::string wavPath;
    bool noSound = false;
    std::string recordPath;  // --record: write the session's recording here
    std::string replayPath;  // --replay: run the session recorded here
    std::vector<std::pair<std::string, std::uint32_t>> droppedResources;  // type, id
};

// The options of this run; set by the entry before the program starts.
const Options& CurrentOptions();
void SetOptions(const Options& options);
