// The mystery ship's looping sound through a running sound engine: started
// when the ship flies, stopped when it leaves, and never stopped on a channel
// that has since been given to another sound or on an engine that has shut down.
#include "game/sample_slots.h"
#include "game_world_fixture.h"

class ShipSound : public GameWorld {
protected:
    void SetUp() override {
        GameWorld::SetUp();
        platform::SetActiveAudioOut(&platform::headless::HeadlessAudioOut());
        if (soundSystem.start(11025, 0, 16, 0) != 1) GTEST_SKIP() << "no sound device";
        LoadGameSounds();
    }
    void TearDown() override {
        soundSystem.shutdown();
        platform::SetActiveAudioOut(nullptr);
    }
    // Lets the armed ship fly in the next play frame; its channel handle.
    std::uint32_t launchShip() {
        gameState.shipDue = 0;
        PlayFrame();
        return gameState.shipChannel;
    }
};

// FIX: the ship's loop is stopped through its handle, and only while that channel still plays a loop.
TEST_F(ShipSound, StopsTheShipsOwnLoopAndNothingElse) {
    const std::uint32_t ship = launchShip();
    if (ship == kNoChannel) GTEST_SKIP() << "the ship's sound did not load";
    Channel* loop = soundSystem.channelAt(ship);
    ASSERT_NE(loop, nullptr);
    EXPECT_TRUE(loop->isPlaying() && loop->loop());

    gameState.ship.x = gameState.ship.dx > 0 ? 360 : -40;  // one step from leaving
    PlayFrame();
    EXPECT_FALSE(loop->isPlaying());
    EXPECT_EQ(gameState.shipChannel, kNoChannel);

    // The next ship's sound ends early and its voice goes to a hit.
    const std::uint32_t second = launchShip();
    soundSystem.channelAt(second)->stop();
    const std::uint32_t hit = PlaySampleSlot(kHitSound);
    ASSERT_NE(hit, kNoChannel);
    gameState.shipChannel = hit;
    StopShipSound();
    EXPECT_TRUE(soundSystem.channelAt(hit)->isPlaying()) << "a sound that is not a loop is left alone";
    EXPECT_EQ(gameState.shipChannel, kNoChannel);

    // After the engine has shut down a remembered handle is only forgotten.
    gameState.shipChannel = hit;
    soundSystem.shutdown();
    StopShipSound();
    EXPECT_EQ(gameState.shipChannel, kNoChannel);
}
