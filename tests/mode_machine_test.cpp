// The game-mode state machine and the command line, driven through the real
// program with scripted keys. Plain runs of every mode, and the volume keys
// held past both limits, are pinned by the golden test; these are the keys
// that must change nothing, the window's focus, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/headless_run.h"

using namespace testing_support;
using nlohmann::json;

namespace {

constexpr int kReturn = 13, kF10 = 121;
constexpr int kTitle = 0, kPaused = 1, kRoundStart = 2, kPlaying = 3, kLifeLost = 4;

// The modes the run went through, each once per stretch.
std::vector<int> Modes(const RunResult& result) {
    std::vector<int> modes;
    for (const json& line : result.trace)
        if (modes.empty() || modes.back() != line["mode"]) modes.push_back(line["mode"]);
    return modes;
}

}  // namespace

// The action key at 100 ms starts a round that turns to play on the first
// pass after 2100 ms; a second one at 300 ms would lay out a new round and
// hold play back past the end at 2200 ms.
TEST(ModeMachine, KeysOutOfTheirModeAndTheWindowsFocusGiveTheseModes) {
    const struct {
        const char* what;
        std::string keys;
        std::vector<int> modes;
    } cases[] = {
        {"F10 on the title, Enter twice, F10 in the round's start",
         KeyPress(50, kF10) + KeyPress(100, kReturn) + KeyPress(300, kReturn) + KeyPress(500, kF10),
         {kTitle, kRoundStart, kPlaying}},
        {"focus lost on the title", "50 focus-lost\n" + KeyPress(100, kReturn), {kTitle, kRoundStart, kPlaying}},
        {"focus lost in the round's start",
         KeyPress(100, kReturn) + "500 focus-lost\n",
         {kTitle, kRoundStart, kPaused}},
        {"focus lost and back before play",
         KeyPress(100, kReturn) + "500 focus-lost\n900 focus-gained\n",
         {kTitle, kRoundStart, kPlaying}},
        {"focus lost in play", KeyPress(100, kReturn) + "2150 focus-lost\n", {kTitle, kRoundStart, kPlaying, kPaused}},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        const RunResult result = RunKeys(dir, c.keys, 2200);
        ASSERT_EQ(result.exitCode, 0) << c.what << ": " << result.stderrText;
        EXPECT_EQ(Modes(result), c.modes) << c.what;
    }
}

TEST(ModeMachine, FocusLostAfterALostLifePausesWhenPlayResumes) {
    ScratchDir dir;
    const std::string start = KeyPress(100, kReturn);
    const RunResult idle = RunKeys(dir, start, 60000);
    const auto lifeLost = std::ranges::find_if(idle.trace, [](const json& l) { return l["mode"] == kLifeLost; });
    ASSERT_NE(lifeLost, idle.trace.end()) << "an idle cannon is hit within a minute";
    const unsigned lostAt = (*lifeLost)["tick"];

    const RunResult away = RunKeys(dir, start + std::to_string(lostAt + 100) + " focus-lost\n", lostAt + 3000);
    const auto next = std::ranges::find_if(
        away.trace, [&](const json& l) { return l["tick"].get<unsigned>() > lostAt && l["mode"] != kLifeLost; });
    ASSERT_NE(next, away.trace.end());
    EXPECT_EQ((*next)["mode"], kPaused);
    EXPECT_EQ(away.trace.back()["mode"], kPaused);
}

TEST(CommandLine, BadOptionsAndBadKeyScriptsAreRefusedWithExitCode2) {
    ScratchDir dir;
    const std::string keys = dir.write("keys.txt", "# a comment\n100 down 13\n200 sideways 13\n");
    const struct {
        std::vector<std::string> arguments;
        const char* said;
    } cases[] = {
        {{"--frobnicate"}, "--frobnicate"},
        {{"--layout", "sideways"}, "sideways"},
        {{"--keys", keys, "--until", "300"}, "line 3"},
        {{"--screenshot", "abc", "--until", "10"}, "abc"},
    };
    for (const auto& c : cases) {
        const RunResult refused = RunHeadless(dir, c.arguments, false);
        EXPECT_EQ(refused.exitCode, 2) << c.arguments[0];
        EXPECT_NE(refused.stderrText.find(c.said), std::string::npos) << refused.stderrText;
    }
}
