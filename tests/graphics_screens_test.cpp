// The real program with one of its pictures missing: it runs on, draws its
// frames and still answers the keys.
#include <gtest/gtest.h>

#include "support/headless_run.h"

using namespace testing_support;

constexpr int kReturn = 13;

TEST(Screens, AMissingPictureLeavesTheProgramRunning) {
    for (const char* resource : {"BITMAP:104", "BITMAP:113", "BITMAP:117", "BITMAP:121", "ICON:101"}) {
        ScratchDir dir;
        RunResult result =
            RunHeadless(dir, {"--drop-resource", resource, "--keys", dir.write("keys.txt", KeyPress(100, kReturn)),
                              "--until", "600", "--screenshot", "500:" + dir.file("frame.png")});
        EXPECT_EQ(result.exitCode, 0) << resource << ": " << result.stderrText;
        ASSERT_FALSE(result.trace.empty()) << resource;
        EXPECT_EQ(result.trace.back()["mode"], 2) << resource << ": the action key still starts a round";
        EXPECT_FALSE(ReadFile(dir.file("frame.png")).empty()) << resource;
    }
}
