// The command line of the program, parsed once at start, and the display
// geometry that follows from it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace platform {

enum class FrameLayout { Normal, Rot90, FlipY };

struct Screenshot {
    std::uint32_t tick = 0;  // the first pass at or after this tick
    std::string path;
};

struct Options {
    bool headless = false;
    int scale = 0;  // 0: the largest whole number that fits the screen
    FrameLayout layout = FrameLayout::Normal;
    std::uint32_t pixelFormat = kfDirect565;
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
    std::vector<std::pair<std::string, std::uint32_t>> droppedResources;  // type, id
};

// The options of this run; set by the entry before the program starts.
const Options& CurrentOptions();
void SetOptions(const Options& options);

// The 176 x 220 frame buffer's geometry in the chosen layout and format.
GXDisplayProperties DisplayPropertiesFor(FrameLayout layout, std::uint32_t pixelFormat);

constexpr int kScreenWidth = 176;
constexpr int kScreenHeight = 220;

}  // namespace platform
