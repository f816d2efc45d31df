// The game-mode state machine and the volume keys, driven through the real
// program with scripted keys.
#include <gtest/gtest.h>

#include <set>

#include "support/headless_run.h"

using namespace testing_support;
using nlohmann::json;

namespace {

constexpr int kReturn = 13, kEscape = 27, kF6 = 117, kF7 = 118, kF10 = 121;
constexpr int kTitle = 0, kPaused = 1, kRoundStart = 2, kPlaying = 3;

struct ModeRun {
    ScratchDir dir;
    RunResult run(const std::string& keys, unsigned untilMs, std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"--keys", dir.write("keys.txt", keys), "--until", std::to_string(untilMs)};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunHeadless(dir, args);
    }
};

}  // namespace

TEST(ModeMachine, ActionKeyStartsARoundThatTurnsToPlayOnTheFirstTickAfterItsDeadline) {
    ModeRun r;
    RunResult result = r.run(KeyPress(100, kReturn), 2400);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    std::vector<int> modes;
    for (const json& line : result.trace)
        if (modes.empty() || modes.back() != line["mode"]) modes.push_back(line["mode"]);
    EXPECT_EQ(modes, (std::vector<int>{kTitle, kRoundStart, kPlaying}));

    std::size_t first = 0;
    while (result.trace[first]["mode"] != kPlaying) ++first;
    const unsigned deadline = result.trace[first - 1]["modeDeadline"];
    EXPECT_GE(deadline, 2100u);
    // The switch is made on the first pass that starts after the deadline:
    // the pass before it ended within a timer period of the deadline.
    EXPECT_GT(result.trace[first]["tick"].get<unsigned>(), deadline);
    EXPECT_LE(result.trace[first - 1]["tick"].get<unsigned>(), deadline + 2);
}

TEST(ModeMachine, ActionKeyOutsideTheTitleAndPauseOutsidePlayDoNothing) {
    ModeRun r;
    // F10 on the title; Enter twice; F10 during RoundStart.
    std::string keys = KeyPress(50, kF10) + KeyPress(100, kReturn) + KeyPress(300, kReturn) + KeyPress(500, kF10);
    RunResult result = r.run(keys, 1500);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    for (const json& line : result.trace) {
        EXPECT_NE(line["mode"], kPaused);
        if (line["tick"] < 100) {
            EXPECT_EQ(line["mode"], kTitle);
        }
    }
    // The second Enter did not lay out a new game: the deadline never moved.
    std::set<unsigned> deadlines;
    for (const json& line : result.trace)
        if (line["mode"] == kRoundStart) deadlines.insert(line["modeDeadline"].get<unsigned>());
    EXPECT_EQ(deadlines.size(), 1u);
}

TEST(ModeMachine, PauseKeyTogglesBetweenPlayingAndPaused) {
    ModeRun r;
    std::string keys = KeyPress(100, kReturn) + KeyPress(3000, kF10) + KeyPress(4000, kF10);
    RunResult result = r.run(keys, 5000);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    auto modeAt = [&](unsigned tick) {
        const json* line = FirstWhere(result.trace, [&](const json& l) { return l["tick"] >= tick; });
        return line ? (*line)["mode"].get<int>() : -1;
    };
    EXPECT_EQ(modeAt(2900), kPlaying);
    EXPECT_EQ(modeAt(3500), kPaused);
    EXPECT_EQ(modeAt(4500), kPlaying);
}

TEST(ModeMachine, VolumeKeysStopAtTheirLimits) {
    ModeRun r;
    // Hold F6 long enough to pass 320, then F7 long enough to pass 0.
    std::string keys = KeyDown(10, kF6) + KeyUp(1200, kF6) + KeyDown(1300, kF7) + KeyUp(2600, kF7);
    RunResult result = r.run(keys, 2700);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    int highest = 0;
    for (const json& line : result.trace) highest = std::max(highest, line["volumeScale"].get<int>());
    EXPECT_EQ(highest, 320);
    const json* topped = FirstWhere(result.trace, [](const json& l) { return l["volumeScale"] == 320; });
    EXPECT_EQ((*topped)["volume"], 64);
    EXPECT_EQ(result.trace.back()["volumeScale"], 0);
    EXPECT_EQ(result.trace.back()["volume"], 0);
}

TEST(ModeMachine, FivePassesWithVolumeUpHeldRaiseTheVolumeByOne) {
    ModeRun r;
    RunResult result = r.run(KeyDown(10, kF6), 200);
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.trace.front()["volumeScale"], 80);
    const json* first = FirstWhere(result.trace, [](const json& l) { return l["volumeScale"] == 85; });
    ASSERT_NE(first, nullptr);
    EXPECT_EQ((*first)["volume"], 17);
}

TEST(ModeMachine, BackKeyEndsTheProgramAfterOneMoreFrame) {
    ModeRun r;
    RunResult result = r.run(KeyPress(100, kEscape), 100000);
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_FALSE(result.trace.empty());
    EXPECT_LT(result.trace.back()["tick"].get<unsigned>(), 110u);
    // The pass that handled the key still completed and was traced.
    EXPECT_GE(result.trace.back()["tick"].get<unsigned>(), 100u);
}

TEST(ModeMachine, LossOfActivationEndsTheProgram) {
    ModeRun r;
    RunResult result = r.run("100 deactivate\n", 100000);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_LT(result.trace.back()["tick"].get<unsigned>(), 110u);
}

TEST(ModeMachine, TheSameArgumentsGiveTheSameTrace) {
    ModeRun a, b;
    std::string keys = KeyPress(100, kReturn) + KeyDown(2500, 39) + KeyPress(2600, 120) + KeyUp(3000, 39);
    a.run(keys, 4000);
    b.run(keys, 4000);
    EXPECT_EQ(ReadFile(a.dir.file("trace.jsonl")), ReadFile(b.dir.file("trace.jsonl")));
}

TEST(CommandLine, BadOptionsAndBadKeyScriptsAreRefusedWithExitCode2) {
    ScratchDir dir;
    RunResult unknown = RunCommand({kBinary, "--headless", "--frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.stderrText.find("--frobnicate"), std::string::npos);

    RunResult badLayout = RunCommand({kBinary, "--headless", "--layout", "sideways"});
    EXPECT_EQ(badLayout.exitCode, 2);

    std::string keys = dir.write("keys.txt", "# a comment\n100 down 13\n200 sideways 13\n");
    RunResult badScript = RunCommand({kBinary, "--headless", "--keys", keys, "--until", "300"});
    EXPECT_EQ(badScript.exitCode, 2);
    EXPECT_NE(badScript.stderrText.find("line 3"), std::string::npos) << badScript.stderrText;

    RunResult badShot = RunCommand({kBinary, "--headless", "--screenshot", "abc", "--until", "10"});
    EXPECT_EQ(badShot.exitCode, 2);
}

// The window losing the keyboard: play pauses, at once or as it begins; the
// title and the game-over screen have nothing to pause.
TEST(ModeMachine, FocusLostBeforePlayPausesAsPlayBeginsUnlessItComesBack) {
    auto modesAfter = [](const RunResult& result, unsigned tick) {
        std::vector<int> modes;
        for (const json& line : result.trace)
            if (line["tick"].get<unsigned>() >= tick && (modes.empty() || modes.back() != line["mode"]))
                modes.push_back(line["mode"]);
        return modes;
    };
    ModeRun title, starting, back;
    RunResult onTitle = title.run("50 focus-lost\n" + KeyPress(100, kReturn), 2400);
    EXPECT_EQ(modesAfter(onTitle, 0), (std::vector<int>{kTitle, kRoundStart, kPlaying}));

    RunResult lost = starting.run(KeyPress(100, kReturn) + "500 focus-lost\n", 2400);
    ASSERT_EQ(lost.exitCode, 0) << lost.stderrText;
    EXPECT_EQ(modesAfter(lost, 0), (std::vector<int>{kTitle, kRoundStart, kPaused}));
    const json* paused = FirstWhere(lost.trace, [](const json& l) { return l["mode"] == kPaused; });
    ASSERT_NE(paused, nullptr);
    EXPECT_GT((*paused)["tick"].get<unsigned>(), (*paused)["modeDeadline"].get<unsigned>());

    RunResult returned = back.run(KeyPress(100, kReturn) + "500 focus-lost\n900 focus-gained\n", 2400);
    EXPECT_EQ(modesAfter(returned, 0), (std::vector<int>{kTitle, kRoundStart, kPlaying}));
}

TEST(ModeMachine, FocusLostAfterALostLifePausesWhenPlayResumes) {
    constexpr int kLifeLost = 4;
    ModeRun idle, away;
    const std::string start = KeyPress(100, kReturn);
    RunResult played = idle.run(start, 60000);
    const json* lifeLost = FirstWhere(played.trace, [](const json& l) { return l["mode"] == kLifeLost; });
    ASSERT_NE(lifeLost, nullptr) << "an idle cannon is hit within a minute";
    const unsigned lostAt = (*lifeLost)["tick"];

    RunResult result = away.run(start + std::to_string(lostAt + 100) + " focus-lost\n", lostAt + 3000);
    const json* next = FirstWhere(
        result.trace, [&](const json& l) { return l["tick"].get<unsigned>() > lostAt && l["mode"] != kLifeLost; });
    ASSERT_NE(next, nullptr);
    EXPECT_EQ((*next)["mode"], kPaused);
    EXPECT_EQ(result.trace.back()["mode"], kPaused);
}
