// The replay's timing and song order: rows, ticks, speed and tempo, jumps,
// breaks, pattern delays and the end of the song.
#include <gtest/gtest.h>

#include "support/module_builder.h"
#include "support/module_replay.h"

using modtest::ModuleBuilder;
using modtest::Replay;

namespace {

// A looping sample of constant value 100, so every frame shows whether track 0 sounds.
ModuleBuilder WithSteadySample() {
    ModuleBuilder builder;
    builder.sample(1, {.name = "steady",
                       .data = modtest::Constant(64, 100),
                       .volume = 64,
                       .repeatStartWords = 0,
                       .repeatLengthWords = 32});
    return builder;
}

// Frames from one row read to the next: speed ticks of samplesPerTick + 1
// frames, and the reading frame.
std::uint64_t RowFrames(std::uint32_t speed, std::uint32_t samplesPerTick) { return speed * (samplesPerTick + 1) + 1; }

}  // namespace

TEST(ModuleSequencer, PlaysRowZeroOfTheFirstOrderFirstAndEndsWhereTheRowAfterTheLastWouldBe) {
    Replay replay(WithSteadySample().orders({2}).pattern(2, {{0, "C-2 01 C20"}}).build());
    EXPECT_EQ(replay.frame().left, 32 * 100);
    EXPECT_EQ(replay.channel.order(), 0u);
    EXPECT_EQ(replay.channel.row(), 0u);
    replay.frames(64 * RowFrames(6, 441) - 2);
    ASSERT_FALSE(replay.channel.isStopped());
    EXPECT_NE(replay.frame().left, 0);
    EXPECT_EQ(replay.frame().left, 0) << "the ending frame adds nothing";
    EXPECT_TRUE(replay.channel.isStopped());
}

TEST(ModuleSequencer, LoopingSongGoesOnAtItsRestartPosition) {
    Replay replay(WithSteadySample().orders({0, 1, 2}).restart(1).pattern(0, {{0, "C-2 01 000"}}).build(),
                  {.loop = true});
    replay.frames(1 + 3 * 64 * RowFrames(6, 441));
    EXPECT_FALSE(replay.channel.isStopped());
    EXPECT_EQ(replay.channel.order(), 1u);
    EXPECT_EQ(replay.channel.row(), 0u);
    EXPECT_EQ(replay.channel.completedPasses(), 1u);
}

TEST(ModuleSequencer, BreaksAndJumpsContinueWhereTheySay) {
    const struct {
        std::vector<int> orders;
        int row;  // of pattern 0, where the effect is
        const char* cell;
        std::uint32_t order, nextRow;
    } cases[] = {
        {{0, 1, 2}, 0, "--- 00 D12", 1, 12},    // the row in decimal, in the next order
        {{0, 1, 2, 3}, 5, "--- 00 B03", 3, 0},  // row 0 of the order
        {{0, 1}, 0, "--- 00 D99", 1, 0},        // past row 63: the top
        {{0}, 0, "--- 00 D10", 0, 1},           // at the last order of a song that does not loop: ignored
    };
    for (const auto& c : cases) {
        Replay replay(ModuleBuilder().orders(c.orders).pattern(0, {{c.row, c.cell}}).build());
        replay.frames(1 + c.row * RowFrames(6, 441));
        replay.framesToNextRow();
        EXPECT_EQ(replay.channel.order(), c.order) << c.cell;
        EXPECT_EQ(replay.channel.row(), c.nextRow) << c.cell;
    }
    Replay ignored(ModuleBuilder().pattern(0, {{0, "--- 00 D10"}}).build());
    EXPECT_EQ(ignored.framesToEnd(1'000'000), 1 + 64 * RowFrames(6, 441));
}

TEST(ModuleSequencer, JumpsThatLeaveTheSongEndItOrComeRound) {
    // A jump past the song's length ends a song that does not loop...
    Replay ended(ModuleBuilder().orders({0, 1}).pattern(0, {{0, "--- 00 B80"}}).build());
    EXPECT_EQ(ended.framesToEnd(10'000), 1 + RowFrames(6, 441));
    // ...and takes a looping one to its restart position.
    Replay looped(ModuleBuilder().orders({0, 1, 1}).restart(1).pattern(1, {{0, "--- 00 BFF"}}).build(), {.loop = true});
    looped.frames(1 + 64 * RowFrames(6, 441));
    EXPECT_EQ(looped.channel.order(), 1u);
    EXPECT_EQ(looped.channel.completedPasses(), 0u);
    looped.frames(RowFrames(6, 441));
    EXPECT_FALSE(looped.channel.isStopped());
    EXPECT_EQ(looped.channel.order(), 1u);
    EXPECT_EQ(looped.channel.row(), 0u);
    EXPECT_EQ(looped.channel.completedPasses(), 1u);

    // A jump back into rows already played counts as coming round, and plays on.
    Replay jumpedBack(ModuleBuilder().orders({0, 1}).pattern(1, {{0, "--- 00 B00"}}).build());
    jumpedBack.frames(1 + 65 * RowFrames(6, 441));
    EXPECT_FALSE(jumpedBack.channel.isStopped());
    EXPECT_EQ(jumpedBack.channel.order(), 0u);
    EXPECT_EQ(jumpedBack.channel.completedPasses(), 1u);
}

TEST(ModuleSequencer, RowLastsSpeedTicksOfOneFiftiethOfTheRatePlusOneFrame) {
    for (const std::uint32_t rate : {11025u, 22050u, 44100u}) {
        SCOPED_TRACE(rate);
        const std::uint32_t perTick = rate / 50;
        Replay replay(ModuleBuilder().pattern(0, {{1, "--- 00 F03"}, {2, "--- 00 F7D"}, {3, "--- 00 F96"}}).build(),
                      {.rate = rate});
        replay.frame();
        EXPECT_EQ(replay.framesToNextRow(), RowFrames(6, perTick));
        EXPECT_EQ(replay.framesToNextRow(), RowFrames(3, perTick));  // F03: speed 3
        EXPECT_EQ(replay.channel.samplesPerTick(), perTick);         // F7D: 125 beats, 50 ticks a second
        EXPECT_EQ(replay.framesToNextRow(), RowFrames(3, perTick));
        EXPECT_EQ(replay.channel.samplesPerTick(), rate / 60);  // F96: 150 beats, 60 ticks a second
        EXPECT_EQ(replay.framesToNextRow(), RowFrames(3, rate / 60));
    }
}

TEST(ModuleSequencer, SpeedZeroReadsARowOnEveryFrame) {
    Replay replay(ModuleBuilder().pattern(0, {{0, "--- 00 F00"}}).build());
    replay.frame();
    EXPECT_EQ(replay.framesToNextRow(), 1u);
    EXPECT_EQ(replay.framesToEnd(1000), 63u);
}

TEST(ModuleSequencer, PatternDelayHoldsTheRowForMoreRows) {
    Replay replay(ModuleBuilder().pattern(0, {{0, "--- 00 EE2"}}).build());
    replay.frame();
    EXPECT_EQ(replay.framesToNextRow(), 3 * RowFrames(6, 441));
    EXPECT_EQ(replay.channel.row(), 1u);
}

// FIX: a new song starts with fresh effect memories: a bare vibrato (400)
// finds no speed or depth left by the song the channel played before.
TEST(ModuleSequencer, ANewSongPlaysTheSameWhicheverSongTheChannelPlayedBefore) {
    const auto second = WithSteadySample().pattern(0, {{0, "C-2 01 400"}}).build();
    Module module;
    module.useImage(second.data(), second.size());
    Replay fresh(second);
    Replay reused(WithSteadySample().pattern(0, {{0, "C-2 01 48F"}}).build());
    reused.frames(3 * 442);
    reused.channel.startModule(module, 22050, ReplayProfile{});
    int differing = 0;
    for (int frame = 0; frame < 3 * 442; ++frame) {
        reused.frame();
        fresh.frame();
        differing += reused.step(0) != fresh.step(0);
    }
    EXPECT_EQ(differing, 0);
}
