// Whole frames of the real program: the same picture in every frame-buffer
// layout and pixel format, and a program that runs on when a picture is missing.
#include <gtest/gtest.h>

#include "support/headless_run.h"

using namespace testing_support;

namespace {

constexpr int kReturn = 13, kF10 = 121;

// A screenshot of the title at 200 ms and of the paused strip at 2900 ms.
struct Frames {
    std::string title, paused;
};

Frames framesIn(const std::vector<std::string>& display) {
    ScratchDir dir;
    std::vector<std::string> args{"--keys",       dir.write("keys.txt", KeyPress(300, kReturn) + KeyPress(2500, kF10)),
                                  "--until",      "3000",
                                  "--screenshot", "200:" + dir.file("title.png"),
                                  "--screenshot", "2900:" + dir.file("paused.png")};
    args.insert(args.end(), display.begin(), display.end());
    RunResult result = RunHeadless(dir, args, false);
    EXPECT_EQ(result.exitCode, 0) << result.stderrText;
    return {ReadFile(dir.file("title.png")), ReadFile(dir.file("paused.png"))};
}

}  // namespace

TEST(Screens, EveryLayoutAndPixelFormatShowsTheSameFrames) {
    const Frames normal = framesIn({});
    ASSERT_FALSE(normal.title.empty());
    ASSERT_FALSE(normal.paused.empty());
    EXPECT_NE(normal.title, normal.paused);
    for (const std::vector<std::string>& display : std::vector<std::vector<std::string>>{
             {"--layout", "rot90"}, {"--layout", "flipy"}, {"--pixel-format", "555"}}) {
        const Frames other = framesIn(display);
        EXPECT_EQ(other.title, normal.title) << display[1];
        EXPECT_EQ(other.paused, normal.paused) << display[1];
    }
}

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
