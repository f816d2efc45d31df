// Whole games of the real program, run headless with a key script, and the
// play frames of their traces.
#pragma once

#include <string>
#include <vector>

#include "support/headless_run.h"

namespace game_runs {

using nlohmann::json;
using testing_support::RunResult;

constexpr int kTitle = 0, kRoundStart = 2, kPlaying = 3, kLifeLost = 4, kGameOver = 5;
constexpr int kLeft = 37, kRight = 39, kFire = 120, kReturn = 13;

// The action key at 100 ms starts a game; play begins on the first pass after 2100 ms.
inline std::string StartGame() { return testing_support::KeyPress(100, kReturn); }

// Runs the program with `keys` until `untilMs`, silent unless `withSound`.
inline RunResult RunGame(const std::string& keys, unsigned untilMs, bool withWorld, bool withSound = false) {
    testing_support::ScratchDir dir;
    std::vector<std::string> args{"--keys", dir.write("game.keys", keys), "--until", std::to_string(untilMs)};
    if (withWorld) args.push_back("--trace-world");
    if (!withSound) args.push_back("--no-sound");
    return testing_support::RunHeadless(dir, args);
}

// The scripted demo game kept with the tests.
inline std::string DemoKeys() {
    return testing_support::ReadFile(std::string(testing_support::kSourceDir) + "/tests/data/demo_game.keys");
}

// Trace lines of the passes that ran a play frame.
inline std::vector<json> PlayFrames(const RunResult& run) {
    std::vector<json> frames;
    for (std::size_t i = 0; i < run.trace.size(); ++i) {
        const int mode = run.trace[i]["mode"];
        const int before = i > 0 ? run.trace[i - 1]["mode"].get<int>() : kTitle;
        // A pass that ends a game still ran a play frame if it began in play.
        const bool inPlay = mode >= kRoundStart && mode <= kLifeLost;
        const bool endedPlay = mode == kGameOver && before >= kRoundStart && before <= kLifeLost;
        if (inPlay || endedPlay) frames.push_back(run.trace[i]);
    }
    return frames;
}

inline bool Played(const json& line, int slot) {
    for (const json& s : line["played"])
        if (s == slot) return true;
    return false;
}

inline int CountPlayed(const std::vector<json>& lines, int slot) {
    int n = 0;
    for (const json& line : lines)
        for (const json& s : line["played"]) n += s == slot;
    return n;
}

inline const json& AlienOf(const json& line, int column, int row) { return line["aliens"][column][row]; }

}  // namespace game_runs
