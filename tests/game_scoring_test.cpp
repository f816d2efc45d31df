// The extra life and the mystery ship's hit, which the golden test's games
// never reach, on worlds arranged in-process; and the ship's looping sound
// through a running sound engine: started when the ship flies, stopped when
// it leaves, and never stopped on a channel that has since been given to
// another sound or on an engine that has shut down.
#include "game/sample_slots.h"
#include "game_world_fixture.h"
#include "graphics/pixel_format.h"

namespace {

// Places the shot so that, after this frame's move, it is inside the alien's box.
void aimAt(const Alien& alien) { gameState.shot = Shot{alien.x + 4, alien.y + 3 + 2, -2, 1}; }

void playFrameIn(GameMode mode) {
    gameState.mode = mode;
    PlayFrame();
}

}  // namespace

using Scoring = GameWorld;

TEST_F(Scoring, ReachingFifteenHundredGivesOneExtraLifeOnly) {
    gameState.score = 1490;
    aimAt(gameState.aliens[5][0]);
    TakePlayedSlots();
    playFrameIn(Playing);
    EXPECT_EQ(gameState.score, 1520);
    EXPECT_EQ(gameState.cannon.lives, 4);
    EXPECT_EQ(TakePlayedSlots(), (std::vector<int>{kHitSound, kExtraLifeSound}));

    aimAt(gameState.aliens[6][0]);
    playFrameIn(Playing);
    EXPECT_EQ(gameState.score, 1550);
    EXPECT_EQ(gameState.cannon.lives, 4);
}

class MysteryShipHit : public GameWorld {
protected:
    void SetUp() override {
        GameWorld::SetUp();
        sheet = ImageFromBitmap(backBuffer, resources::LoadBitmap(121).get(), -1, -1, 0, 0);
        spriteSheet = sheet;
        colourKey = backBuffer.nativeColour(kBlue);
    }
    void TearDown() override {
        spriteSheet = nullptr;
        FreeImage(sheet);
    }
    // Whether every non-key pixel of the red digit's cell is on the screen at (x, y).
    bool redDigitShownAt(int digit, int x, int y) const {
        if (sheet == nullptr || sheet->pixels == nullptr) return false;
        for (int py = 0; py < 6; ++py)
            for (int px = 0; px < 4; ++px) {
                const NativePixel pixel = sheet->pixels[(13 + py) * sheet->width + 4 * (digit + 1) + px];
                if (pixel == colourKey) continue;
                if (backBuffer.pixels[(x + px) * backBuffer.xStep + (y + py) * backBuffer.yStep] != pixel) return false;
            }
        return true;
    }
    Image* sheet = nullptr;
};

TEST_F(MysteryShipHit, ScoresTheValueItShowsWhereItWasHitThenComesBack24SecondsLater) {
    const std::int32_t values[] = {50, 100, 200, 300, 500};
    for (int kind = 0; kind < 5; ++kind) {
        gameState.ship = MysteryShip{101, 40, 1, 1, kind};  // pixel 50, flying right
        gameState.shipSoundOn = 1;
        gameState.shipDue = 0;
        gameState.shot = Shot{55, 40 + 3 + 2, -2, 1};
        const std::int32_t before = gameState.score;
        playFrameIn(Playing);
        EXPECT_EQ(gameState.score - before, values[kind]);
        EXPECT_EQ(gameState.ship.state, 3);
        EXPECT_EQ(gameState.shipChannel, kNoChannel);

        // 98 frames of explosion and 201 of the value, all where it was hit.
        int frames = 1;
        while (gameState.ship.state != 1 && frames < 400) {
            playFrameIn(Playing);
            ++frames;
            if (gameState.ship.state == 150) {
                EXPECT_EQ(gameState.ship.x, 102);
                if (kind == 0) {
                    EXPECT_TRUE(redDigitShownAt(5, 52, 39));
                    EXPECT_TRUE(redDigitShownAt(0, 57, 39));
                } else {
                    EXPECT_TRUE(redDigitShownAt(values[kind] / 100, 50, 39)) << kind;
                    EXPECT_TRUE(redDigitShownAt(0, 54, 39));
                    EXPECT_TRUE(redDigitShownAt(0, 58, 39));
                }
            }
        }
        EXPECT_EQ(frames, 98 + 201);
        EXPECT_EQ(gameState.shipSoundOn, 0);
        EXPECT_EQ(gameState.shipDue, platform::ActiveClock().now() + 24000);
    }
}

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
