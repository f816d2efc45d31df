// The screenshots of a headless run (--screenshot): each the frame presented
// at the first pass at or after its tick of the virtual clock, saved as a PNG
// file. Main thread only.
#pragma once

#include <vector>

#include "platform/frame.h"
#include "shell/options.h"

class TimedScreenshots {
public:
    explicit TimedScreenshots(std::vector<Screenshot> shots);  // in any order

    // A frame was presented: saves every screenshot now due. One that cannot
    // be written in full is lost output.
    void operator()(const platform::FrameMemory& frame);

private:
    std::vector<Screenshot> waiting_;  // in time order
};
