// The headless program at the edges of its inputs and outputs: moments far
// along the 32-bit clock, outputs that cannot be written, and inputs without
// bound. Each run is guarded against hanging.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/headless_run.h"

using namespace testing_support;

namespace {

constexpr int kHangLimitSeconds = 120;
constexpr int kEscape = 27;

unsigned LastTick(const RunResult& result) {
    return result.trace.empty() ? 0 : result.trace.back()["tick"].get<unsigned>();
}

// The back key at 1000 ms, and whatever else the test adds.
std::string EscapeAt1000(const std::string& more = "") { return KeyDown(1000, kEscape) + more; }

}  // namespace

TEST(HeadlessClock, AnEndAtTheClocksLastTickLetsTheRunGoOnUntilTheBackKey) {
    ScratchDir dir;
    RunResult result = RunHeadless(dir, {"--until", "4294967295", "--keys", dir.write("keys", EscapeAt1000())}, true,
                                   kHangLimitSeconds);
    EXPECT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_GE(LastTick(result), 1000u);
    EXPECT_LT(LastTick(result), 1100u);
}

TEST(HeadlessClock, AKeyEventHalfTheClockAwayWaitsInTheFuture) {
    ScratchDir dir;
    for (const char* far : {"2147483648", "3000000000", "4294967295"}) {
        RunResult result = RunHeadless(
            dir, {"--keys", dir.write("keys", EscapeAt1000(std::string(far) + " down 13\n"))}, true, kHangLimitSeconds);
        EXPECT_EQ(result.exitCode, 0) << far << ": " << result.stderrText;
        EXPECT_LT(LastTick(result), 1100u) << far;
    }
}

TEST(HeadlessClock, AScreenshotHalfTheClockAwayIsNotTakenEarly) {
    ScratchDir dir;
    RunResult result = RunHeadless(dir,
                                   {"--keys", dir.write("keys", EscapeAt1000()), "--screenshot",
                                    "3000000000:" + dir.file("far.png"), "--screenshot", "500:" + dir.file("near.png")},
                                   false, kHangLimitSeconds);
    EXPECT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_TRUE(std::filesystem::exists(dir.file("near.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("far.png")));
}

// Each output option, given a path that cannot be written, fails the run with
// exit status 1 and a message that names the path.
TEST(HeadlessOutput, EveryOutputLostFailsTheRunNamingTheFile) {
    ScratchDir dir;
    const std::string folder = dir.path().string();
    for (const std::string& path : {std::string("/dev/full"), folder}) {
        for (const std::string option : {"--trace", "--wav", "--screenshot"}) {
            const std::string value = option == "--screenshot" ? "100:" + path : path;
            RunResult result = RunHeadless(dir, {"--until", "2000", option, value}, false, kHangLimitSeconds);
            EXPECT_EQ(result.exitCode, 1) << option << " " << value;
            EXPECT_NE(result.stderrText.find(path), std::string::npos) << option << " " << value;
        }
    }
}

TEST(HeadlessOutput, OutputsWrittenInFullLeaveTheExitStatusAlone) {
    ScratchDir dir;
    RunResult result = RunHeadless(
        dir, {"--until", "2000", "--wav", dir.file("sound.wav"), "--screenshot", "100:" + dir.file("shot.png")}, true,
        kHangLimitSeconds);
    EXPECT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_EQ(result.stderrText, "");
}

TEST(HeadlessInput, AKeyScriptOverOneMegabyteOrUnreadableIsRefusedBeforeParsing) {
    ScratchDir dir;
    // A comment that parses to nothing: refused for its size alone.
    const std::string large = dir.write("large", std::string((1 << 20) + 1, '#'));
    for (const std::string& path : {std::string("/dev/zero"), large}) {
        RunResult result = RunHeadless(dir, {"--keys", path, "--until", "100"}, false, kHangLimitSeconds);
        EXPECT_EQ(result.exitCode, 2) << path;
        EXPECT_NE(result.stderrText.find(path + " is larger than 1 MB"), std::string::npos) << result.stderrText;
    }
    RunResult folder = RunHeadless(dir, {"--keys", dir.path().string(), "--until", "100"}, false, kHangLimitSeconds);
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_NE(folder.stderrText.find("cannot read the key script " + dir.path().string()), std::string::npos);
    RunResult atLimit = RunHeadless(dir, {"--keys", dir.write("limit", std::string(1 << 20, '#')), "--until", "100"},
                                    false, kHangLimitSeconds);
    EXPECT_EQ(atLimit.exitCode, 0) << atLimit.stderrText;
}

// 80,000 key-downs from 1 s to 4 s, far more than one pass a millisecond can
// take: the close at 3 s still comes at once, and the flood is not played out.
TEST(HeadlessInput, AFloodOfKeysDoesNotHoldBackTheEndOfTheRun) {
    ScratchDir dir;
    std::string keys;
    for (unsigned i = 0; i < 80000; ++i) keys += KeyDown(1000 + i * 3000 / 80000, 6);
    RunResult result =
        RunHeadless(dir, {"--keys", dir.write("keys", keys), "--until", "3000", "--no-sound"}, true, kHangLimitSeconds);
    EXPECT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_GT(LastTick(result), 3000u);
    EXPECT_LT(LastTick(result), 3100u);
}
