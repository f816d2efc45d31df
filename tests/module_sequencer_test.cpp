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

TEST(ModuleSequencer, FirstFrameReadsRowZeroOfTheFirstOrderAndSoundsIt) {
    Replay replay(WithSteadySample().orders({2}).pattern(2, {{0, "C-2 01 C20"}}).build());
    const modtest::Frame first = replay.frame();
    EXPECT_EQ(replay.channel.order(), 0u);
    EXPECT_EQ(replay.channel.row(), 0u);
    EXPECT_EQ(first.left, 32 * 100);
}

TEST(ModuleSequencer, SongWithoutLoopEndsAfterItsLastRowAndFreesTheChannel) {
    Replay replay(WithSteadySample().pattern(0, {{0, "C-2 01 000"}}).build());
    const std::uint64_t frames = replay.framesToEnd(1'000'000);
    EXPECT_TRUE(replay.channel.isStopped());
    EXPECT_EQ(frames, 1 + 64 * RowFrames(6, 441));  // row 0 on frame 1; the end is due where row 64 would be
}

TEST(ModuleSequencer, TheEndingFrameAddsNothing) {
    Replay replay(WithSteadySample().pattern(0, {{0, "C-2 01 000"}}).build());
    replay.frames(64 * RowFrames(6, 441) - 1);
    ASSERT_FALSE(replay.channel.isStopped());
    EXPECT_NE(replay.frame().left, 0);
    EXPECT_EQ(replay.frame().left, 0);
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

TEST(ModuleSequencer, PatternBreakContinuesAtItsDecimalRowOfTheNextOrder) {
    Replay replay(ModuleBuilder().orders({0, 1, 2}).pattern(0, {{0, "--- 00 D12"}}).build());
    replay.frame();
    replay.framesToNextRow();
    EXPECT_EQ(replay.channel.order(), 1u);
    EXPECT_EQ(replay.channel.row(), 12u);
}

TEST(ModuleSequencer, PositionJumpContinuesAtRowZeroOfItsOrder) {
    Replay replay(ModuleBuilder().orders({0, 1, 2, 3}).pattern(0, {{5, "--- 00 B03"}}).build());
    replay.frames(1 + 5 * RowFrames(6, 441));
    ASSERT_EQ(replay.channel.row(), 5u);
    replay.framesToNextRow();
    EXPECT_EQ(replay.channel.order(), 3u);
    EXPECT_EQ(replay.channel.row(), 0u);
}

TEST(ModuleSequencer, JumpsThatLeaveTheSongEndItOrComeRound) {
    // A break past row 63 starts the next pattern at its top.
    Replay broken(ModuleBuilder().orders({0, 1}).pattern(0, {{0, "--- 00 D99"}}).build());
    broken.frame();
    broken.framesToNextRow();
    EXPECT_EQ(broken.channel.order(), 1u);
    EXPECT_EQ(broken.channel.row(), 0u);

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

TEST(ModuleSequencer, BreakAtTheLastOrderOfASongThatDoesNotLoopIsIgnored) {
    Replay replay(ModuleBuilder().pattern(0, {{0, "--- 00 D10"}}).build());
    replay.frame();
    replay.framesToNextRow();
    EXPECT_EQ(replay.channel.row(), 1u);
    EXPECT_EQ(replay.framesToEnd(1'000'000), 63 * RowFrames(6, 441));
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
