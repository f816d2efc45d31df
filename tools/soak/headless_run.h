// One headless run of the program under the soak, its trace read through a
// pipe and checked as it is written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "trace_check.h"

namespace soak {

struct RunOutcome {
    int exitCode = -1;  // the program's exit code; -1 when it did not exit normally
    TraceCheck trace;
    std::uint64_t wavDigest = 0;
    std::string stderrText;
};

// Runs `binary --headless --keys script --until untilMs --trace <pipe>` and,
// when `wavPath` is not empty, `--wav wavPath` (digested, then removed). Its
// error output goes to `stderrPath`, read and removed. The trace's lines are
// checked when `checkTrace` is true, and only digested otherwise. Runs with
// different paths may go on at once on different threads.
RunOutcome RunHeadless(const std::string& binary, const std::string& scriptPath, std::uint64_t untilMs,
                       const std::string& wavPath, const std::string& stderrPath, bool checkTrace);

}  // namespace soak
