// The headless program at the edges of its inputs and outputs: moments far
// along the 32-bit clock, outputs that cannot be written, and inputs without
// bound. Each run is guarded against hanging.
#include <filesystem>
#include <string>
#include <vector>

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

// A 64 KB tmpfs filled to its last page, so each output is made and then
// fills the disk on the way. Needs the right to mount (root).
struct FullDisk {
    explicit FullDisk(const ScratchDir& dir) : path(dir.file("disk")) {
        std::filesystem::create_directory(path);
        mounted = RunCommand({"/bin/mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", path}).exitCode == 0;
        if (mounted) dir.write("disk/filler", std::string(60 * 1024, 'x'));
    }
    ~FullDisk() {
        if (mounted) RunCommand({"/bin/umount", path});
    }
    std::string path;
    bool mounted = false;
};

// Gives each output option in turn `path`, which cannot be written or cannot
// be written to its end: each run fails with exit status 1 and names the path.
void ExpectEveryOutputLostAt(const ScratchDir& dir, const std::string& path) {
    for (const std::string option : {"--trace", "--wav", "--screenshot"}) {
        const std::string value = option == "--screenshot" ? "1000:" + path : path;
        RunResult result =
            RunHeadless(dir, {"--until", "3000", "--trace-world", option, value}, false, kHangLimitSeconds);
        EXPECT_EQ(result.exitCode, 1) << option << " " << value;
        EXPECT_NE(result.stderrText.find(path), std::string::npos)
            << option << " " << value << ": " << result.stderrText;
        if (std::filesystem::is_regular_file(path)) std::filesystem::remove(path);
    }
}

}  // namespace

// FIX: moments far along the 32-bit clock, or at its last tick, wait there;
// the back key at 1000 ms ends each run.
TEST(HeadlessClock, MomentsHalfTheClockAwayOrAtItsLastTickWaitInTheFuture) {
    ScratchDir dir;
    const std::string escape = dir.write("escape", EscapeAt1000());
    std::vector<std::vector<std::string>> runs = {
        {"--until", "4294967295", "--keys", escape},
        {"--screenshot", "3000000000:" + dir.file("far.png"), "--keys", escape}};
    for (const char* far : {"2147483648", "3000000000", "4294967295"})
        runs.push_back(
            {"--keys", dir.write(std::string("keys-") + far, EscapeAt1000(std::string(far) + " down 13\n"))});
    for (const std::vector<std::string>& arguments : runs) {
        const RunResult result = RunHeadless(dir, arguments, true, kHangLimitSeconds);
        EXPECT_EQ(result.exitCode, 0) << arguments[1] << ": " << result.stderrText;
        EXPECT_GE(LastTick(result), 1000u) << arguments[1];
        EXPECT_LT(LastTick(result), 1100u) << arguments[1];
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("far.png")));
}

TEST(HeadlessOutput, EveryOutputLostFailsTheRunNamingTheFile) {
    ScratchDir dir;
    ExpectEveryOutputLostAt(dir, "/dev/full");
    ExpectEveryOutputLostAt(dir, dir.path().string());
}

TEST(HeadlessOutput, EveryOutputThatFillsTheDiskFailsTheRunNamingTheFile) {
    ScratchDir dir;
    FullDisk disk(dir);
    if (!disk.mounted) GTEST_SKIP() << "cannot mount a tmpfs here";
    ExpectEveryOutputLostAt(dir, disk.path + "/output");
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
