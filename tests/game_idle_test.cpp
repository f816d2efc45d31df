// A real game in which the player never touches a key: the bombs fall, the
// cannon is struck, lives are lost and the game ends.
#include <gtest/gtest.h>

#include "game_run.h"

using namespace game_runs;

namespace {

// Until the first life has been lost and play has resumed.
const std::vector<json>& firstLife() {
    static const std::vector<json> frames = PlayFrames(RunGame(StartGame(), 23000, true));
    return frames;
}

std::size_t firstFrameWhere(const std::vector<json>& frames, const std::function<bool(const json&)>& predicate) {
    std::size_t i = 0;
    while (i < frames.size() && !predicate(frames[i])) ++i;
    return i;
}

int fallingBombs(const json& frame) {
    int n = 0;
    for (const json& bomb : frame["bombs"]) n += bomb["state"] == 1;
    return n;
}

}  // namespace

TEST(Cannon, AStruckCannonExplodesFor78FramesThenTheLifeIsLostAndEveryBombFreed) {
    const std::vector<json>& frames = firstLife();
    const std::size_t hit = firstFrameWhere(frames, [](const json& f) { return f["cannon"]["state"] != 1; });
    ASSERT_LT(hit + 80, frames.size());
    EXPECT_TRUE(Played(frames[hit], 1));
    // The explosion is drawn from state 2 on, once per frame, up to 79.
    for (std::size_t k = 0; k < 78; ++k) {
        const json& frame = frames[hit + k];
        EXPECT_EQ(frame["cannon"]["state"], 3 + k);
        EXPECT_EQ(frame["mode"], kPlaying);
        // The formation stands still and no bomb is dropped while the cannon explodes.
        EXPECT_EQ(frame["marchIndex"], frames[hit]["marchIndex"]);
        if (k > 0) {
            EXPECT_LE(fallingBombs(frame), fallingBombs(frames[hit + k - 1]));
        }
    }
    const json& settled = frames[hit + 78];
    EXPECT_EQ(settled["mode"], kLifeLost);
    EXPECT_EQ(settled["cannon"]["state"], 0);
    EXPECT_EQ(settled["cannon"]["lives"], 2);
    for (const json& bomb : settled["bombs"]) EXPECT_EQ(bomb["state"], 0);
    const unsigned deadline = settled["modeDeadline"];
    EXPECT_LE(deadline - 2000, settled["tick"].get<unsigned>());
    EXPECT_GT(deadline - 2000, frames[hit + 77]["tick"].get<unsigned>());

    // Two seconds later play resumes with the cannon back at its start.
    const std::size_t resumed = firstFrameWhere(
        frames, [&](const json& f) { return f["mode"] == kPlaying && f["tick"].get<unsigned>() > deadline; });
    ASSERT_LT(resumed, frames.size());
    EXPECT_EQ(frames[resumed - 1]["mode"], kLifeLost);
    EXPECT_EQ(frames[resumed]["cannon"], (json{{"x", 24}, {"y", 191}, {"state", 1}, {"lives", 2}}));
}

TEST(Bombs, FallOnePixelPerFrameFromTheLowestAlienAndHoleTheGroundWhereTheyLand) {
    const std::vector<json>& frames = firstLife();
    int landed = 0, dropped = 0;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        const json &was = frames[i - 1], &now = frames[i];
        if (now["mode"] == kLifeLost) break;  // every bomb is freed there
        std::string ground = now["ground"], groundBefore = was["ground"];
        for (int b = 0; b < 11; ++b) {
            const json &before = was["bombs"][b], &after = now["bombs"][b];
            if (before["state"] == 0 && after["state"] == 1) {
                // Dropped by the lowest live alien of its column, then moved once.
                ++dropped;
                int row = 4;
                while (AlienOf(was, b, row)["state"] != 1) --row;
                EXPECT_EQ(after["x"], AlienOf(was, b, row)["x"].get<int>() + 5);
                EXPECT_EQ(after["y"], AlienOf(was, b, row)["y"].get<int>() + 8);
            } else if (before["state"] == 1 && after["state"] == 1) {
                EXPECT_EQ(after["y"], before["y"].get<int>() + 1);
                EXPECT_EQ(after["x"], before["x"]);
            } else if (before["state"] == 1) {
                // Stopped this frame: its explosion has been drawn once already.
                EXPECT_EQ(after["state"], 3);
                if (after["y"] >= 197) {
                    ++landed;
                    const int x = after["x"];
                    groundBefore[x] = '0';
                }
            } else if (before["state"] >= 3) {
                EXPECT_EQ(after["state"], before["state"] == 9 ? 0 : before["state"].get<int>() + 1);
            }
        }
        EXPECT_EQ(ground, groundBefore) << "a landing bomb holes the ground at its own x only";
    }
    EXPECT_GT(dropped, 5);
    EXPECT_GT(landed, 0);
}

TEST(Game, EndsWhenTheLastLifeIsLostAndShowsItsEndForFourSeconds) {
    const RunResult run = RunGame(StartGame(), 92000, false);
    const std::vector<json>& trace = run.trace;
    const json* over = testing_support::FirstWhere(trace, [](const json& l) { return l["mode"] == kGameOver; });
    ASSERT_NE(over, nullptr);
    EXPECT_EQ((*over)["cannon"]["lives"], 0);
    EXPECT_EQ((*over)["cannon"]["state"], 0);
    const unsigned deadline = (*over)["modeDeadline"];
    EXPECT_LE(deadline - 4000, (*over)["tick"].get<unsigned>());
    for (const json& line : trace) {
        if (line["mode"] == kGameOver && line["tick"] > (*over)["tick"]) {
            // The game-over screen silences the ship and forgets its channel on every frame.
            EXPECT_EQ(line["shipSoundOn"], 0);
            EXPECT_EQ(line["shipChannel"], 65535);
        }
        if (line["tick"] > deadline + 1) {
            EXPECT_EQ(line["mode"], kTitle);
        }
    }
}
