#include "shell/timed_screenshots.h"

#include <algorithm>
#include <utility>

#include "platform/headless/headless_backend.h"
#include "shell/lost_output.h"
#include "shell/png_file.h"

TimedScreenshots::TimedScreenshots(std::vector<Screenshot> shots) : waiting_(std::move(shots)) {
    std::stable_sort(waiting_.begin(), waiting_.end(),
                     [](const Screenshot& a, const Screenshot& b) { return a.tick < b.tick; });
}

void TimedScreenshots::operator()(const platform::FrameMemory& frame) {
    // The clock's 64-bit count: a tick 2^31 ms or more ahead is still ahead.
    const std::uint64_t now = platform::headless::NowMoment();
    for (; !waiting_.empty() && now >= waiting_.front().tick; waiting_.erase(waiting_.begin()))
        // FIX: every write of a screenshot is checked, to the close of its
        // file: one that could not be written in full fails the run.
        if (!WritePng(waiting_.front().path, frame.rgb(), platform::kScreenWidth, platform::kScreenHeight))
            ReportLostOutput("screenshot", waiting_.front().path);
}
