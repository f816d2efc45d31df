// The formation's march in a real game in which the player does nothing.
#include <gtest/gtest.h>

#include "game_run.h"

using namespace game_runs;

namespace {

// The first 14 seconds: nine sweeps right, one down, and the turn to the left.
const std::vector<json>& opening() {
    static const std::vector<json> frames = PlayFrames(RunGame(StartGame(), 14000, true));
    return frames;
}

bool isNote(int slot) { return slot >= 4 && slot <= 7; }

}  // namespace

TEST(March, AFullFormationSweepsIn55FramesAndSoundsTheFourNotesInTurn) {
    const std::vector<json>& frames = opening();
    ASSERT_GT(frames.size(), 600u);
    std::vector<int> notes;
    std::vector<std::size_t> sweepEnds;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(frames[i]["aliensLeft"], 55);
        ASSERT_EQ(frames[i]["cannon"]["state"], 1) << "a bomb struck the idle cannon early";
        for (const json& slot : frames[i]["played"]) {
            if (!isNote(slot)) continue;
            notes.push_back(slot);
            sweepEnds.push_back(i);
        }
        // One alien per frame: the march position steps by one, wrapping after 54.
        if (i > 0) {
            EXPECT_EQ(frames[i]["marchIndex"], (frames[i - 1]["marchIndex"].get<int>() + 1) % 55);
        }
    }
    ASSERT_GE(notes.size(), 10u);
    for (std::size_t k = 0; k < notes.size(); ++k) EXPECT_EQ(notes[k], 4 + (k + 1) % 4) << k;  // 5, 6, 7, 4, 5...
    for (std::size_t k = 1; k < sweepEnds.size(); ++k) EXPECT_EQ(sweepEnds[k] - sweepEnds[k - 1], 55u);
}

TEST(March, TheRightColumnPasses164AfterNineStepsThenTheFormationStepsDownAndTurns) {
    const std::vector<json>& frames = opening();
    std::size_t edge = 0;
    while (edge < frames.size() && frames[edge]["edgeReached"] == 0) ++edge;
    ASSERT_LT(edge, frames.size());
    EXPECT_EQ(AlienOf(frames[edge], 10, 4)["x"], 148 + 9 * 2);  // the first to move in its sweep
    EXPECT_EQ(AlienOf(frames[edge - 1], 10, 4)["x"], 164);

    // The sweep runs to its end sideways; the next one goes down by 8 and
    // the one after that goes left.
    std::size_t down = edge;
    while (down < frames.size() && frames[down]["stepDownSweep"] == 0) ++down;
    ASSERT_LT(down + 110, frames.size());
    EXPECT_EQ(frames[down]["marchIndex"], 0);
    const json& beforeDown = frames[down];
    const json& afterDown = frames[down + 55];
    EXPECT_EQ(afterDown["stepDownSweep"], 0);
    EXPECT_EQ(afterDown["edgeReached"], 0);
    EXPECT_EQ(afterDown["marchStep"], -2);
    for (int c = 0; c < 11; ++c)
        for (int r = 0; r < 5; ++r) {
            EXPECT_EQ(AlienOf(afterDown, c, r)["y"], AlienOf(beforeDown, c, r)["y"].get<int>() + 8);
            EXPECT_EQ(AlienOf(afterDown, c, r)["x"], AlienOf(beforeDown, c, r)["x"]);
            EXPECT_EQ(AlienOf(frames[down + 110], c, r)["x"], AlienOf(afterDown, c, r)["x"].get<int>() - 2);
        }
}
