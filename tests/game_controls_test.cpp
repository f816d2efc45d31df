// The fire key and the flight of the player's single shot.
#include <gtest/gtest.h>

#include "game_run.h"

using namespace game_runs;
using testing_support::KeyDown;
using testing_support::KeyPress;
using testing_support::KeyUp;

namespace {

std::vector<json> between(const std::vector<json>& frames, unsigned from, unsigned to) {
    std::vector<json> part;
    for (const json& f : frames)
        if (f["tick"] >= from && f["tick"] < to) part.push_back(f);
    return part;
}

}  // namespace

TEST(Controls, EachPressOfFireLaunchesAtMostOneShotWhichRisesTwoPixelsPerFrame) {
    // Held for three seconds, through the end of the first shot; then a press
    // that fires and a press while that shot is still flying.
    const std::string keys = StartGame() + KeyDown(2200, kLeft) + KeyUp(2400, kLeft) + KeyDown(3000, kFire) +
                             KeyUp(6000, kFire) + KeyPress(6100, kFire) + KeyPress(6300, kFire);
    const std::vector<json> frames = PlayFrames(RunGame(keys, 9000, false));

    const std::vector<json> held = between(frames, 3000, 6000);
    EXPECT_EQ(CountPlayed(held, 2), 1);
    EXPECT_TRUE(Played(held.front(), 2));
    for (const json& f : held) EXPECT_EQ(f["fireLatch"], 1);
    EXPECT_EQ(held.back()["shot"]["active"], 0) << "the first shot ended while fire was held";

    const std::vector<json> second = between(frames, 6000, 6300);
    EXPECT_EQ(CountPlayed(second, 2), 1);
    const std::vector<json> inFlight = between(frames, 6300, 6340);
    EXPECT_EQ(CountPlayed(inFlight, 2), 0);
    EXPECT_EQ(inFlight.front()["fireLatch"], 1);
    EXPECT_EQ(inFlight.front()["shot"]["active"], 1);

    // From the left-hand limit the second shot passes left of the formation:
    // launched at 189 above the barrel, moved 2 pixels in the same frame and
    // in every frame after, it ends once its top would pass row 25.
    std::vector<json> flight;
    for (const json& f : between(frames, 6100, 9000))
        if (f["shot"]["active"] == 1) flight.push_back(f);
    ASSERT_EQ(flight.size(), 82u);
    EXPECT_EQ(flight.front()["shot"]["x"], 20 / 2 + 5);
    EXPECT_EQ(flight.front()["shot"]["y"], 187);
    for (std::size_t k = 1; k < flight.size(); ++k)
        EXPECT_EQ(flight[k]["shot"]["y"], flight[k - 1]["shot"]["y"].get<int>() - 2);
    EXPECT_EQ(flight.back()["shot"]["y"], 25);
    EXPECT_EQ(flight.back()["score"], frames.back()["score"]) << "it hit nothing";
}
