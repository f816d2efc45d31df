// The replay's timing and song order: rows, ticks, speed and tempo, jumps,
// breaks, pattern delays and the end of the song.
#include <gtest/gtest.h>

#include "module_builder.h"
#include "support/module_replay.h"

using modwrite::ModuleBuilder;
using modwrite::Replay;

namespace {

// Frames from one row read to the next: speed ticks of samplesPerTick + 1
// frames, and the reading frame.
std::uint64_t RowFrames(std::uint32_t speed, std::uint32_t samplesPerTick = 441) {
    return speed * (samplesPerTick + 1) + 1;
}

}  // namespace

TEST(ModuleSequencer, PlaysRowZeroOfTheFirstOrderFirstAndEndsWhereTheRowAfterTheLastWouldBe) {
    Replay replay(ModuleBuilder().sample(1, modwrite::Steady()).orders({2}).pattern(2, {{0, "C-2 01 C20"}}).build());
    EXPECT_EQ(replay.frame().left, 32 * 100);
    EXPECT_EQ(replay.channel.order(), 0u);
    EXPECT_EQ(replay.channel.row(), 0u);
    replay.render(64 * RowFrames(6) - 2);
    ASSERT_FALSE(replay.channel.isStopped());
    EXPECT_NE(replay.frame().left, 0);
    EXPECT_EQ(replay.frame().left, 0) << "the ending frame adds nothing";
    EXPECT_TRUE(replay.channel.isStopped());
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
        replay.render(1 + c.row * RowFrames(6));
        replay.framesToNextRow();
        EXPECT_EQ(replay.channel.order(), c.order) << c.cell;
        EXPECT_EQ(replay.channel.row(), c.nextRow) << c.cell;
    }
}

// A song that loops goes on at its restart position, after its last row or a
// jump past its length; a jump back into rows already played counts as coming
// round; a jump past the length ends a song that does not loop.
TEST(ModuleSequencer, ASongComesRoundAtItsRestartPositionOrEnds) {
    const struct {
        std::vector<int> orders;
        int restart, pattern;  // the cell is row 0 of `pattern`
        const char* cell;
        bool loop;
        std::uint64_t rows;  // played before the look
        std::uint32_t order, passes;
    } cases[] = {
        {{0, 1, 2}, 1, 0, "--- 00 000", true, 3 * 64, 1, 1},
        {{0, 1, 1}, 1, 1, "--- 00 BFF", true, 64, 1, 0},
        {{0, 1, 1}, 1, 1, "--- 00 BFF", true, 65, 1, 1},
        {{0, 1}, 127, 1, "--- 00 B00", false, 65, 0, 1},
    };
    for (const auto& c : cases) {
        Replay replay(ModuleBuilder().orders(c.orders).restart(c.restart).pattern(c.pattern, {{0, c.cell}}).build(),
                      {.loop = c.loop});
        replay.render(1 + c.rows * RowFrames(6));
        EXPECT_FALSE(replay.channel.isStopped()) << c.cell;
        EXPECT_EQ(replay.channel.order(), c.order) << c.cell;
        EXPECT_EQ(replay.channel.row(), 0u) << c.cell;
        EXPECT_EQ(replay.channel.completedPasses(), c.passes) << c.cell << " after " << c.rows << " rows";
    }
    Replay ended(ModuleBuilder().orders({0, 1}).pattern(0, {{0, "--- 00 B80"}}).build());
    EXPECT_EQ(ended.render(10'000).size(), RowFrames(6));
}

// Speed 3, tempo 125 (50 ticks a second) and 150 (60); speed 0 reads a row on
// every frame; a pattern delay holds its row for two more.
TEST(ModuleSequencer, RowLastsSpeedTicksOfTheTemposTickLengthPlusOneFrame) {
    for (const std::uint32_t rate : {11025u, 22050u, 44100u}) {
        SCOPED_TRACE(rate);
        const std::uint32_t perTick = rate / 50;
        Replay replay(ModuleBuilder().pattern(0, {{1, "--- 00 F03"}, {2, "--- 00 F7D"}, {3, "--- 00 F96"}}).build(),
                      {.rate = rate});
        replay.frame();
        EXPECT_EQ(replay.framesToNextRow(), RowFrames(6, perTick));
        EXPECT_EQ(replay.framesToNextRow(), RowFrames(3, perTick));
        EXPECT_EQ(replay.channel.samplesPerTick(), perTick);
        EXPECT_EQ(replay.framesToNextRow(), RowFrames(3, perTick));
        EXPECT_EQ(replay.channel.samplesPerTick(), rate / 60);
        EXPECT_EQ(replay.framesToNextRow(), RowFrames(3, rate / 60));
    }
    Replay speedZero(ModuleBuilder().pattern(0, {{0, "--- 00 F00"}}).build());
    speedZero.frame();
    EXPECT_EQ(speedZero.framesToNextRow(), 1u);
    EXPECT_EQ(speedZero.render(1000).size(), 62u);
    Replay delayed(ModuleBuilder().pattern(0, {{0, "--- 00 EE2"}}).build());
    delayed.frame();
    EXPECT_EQ(delayed.framesToNextRow(), 3 * RowFrames(6));
    EXPECT_EQ(delayed.channel.row(), 1u);
}

// FIX: a new song starts with fresh effect memories: a bare vibrato (400)
// finds no speed or depth left by the song the channel played before.
TEST(ModuleSequencer, ANewSongPlaysTheSameWhicheverSongTheChannelPlayedBefore) {
    const auto second = ModuleBuilder().sample(1, modwrite::Steady()).pattern(0, {{0, "C-2 01 400"}}).build();
    Module module;
    module.useImage(second.data(), second.size());
    Replay fresh(second);
    Replay reused(ModuleBuilder().sample(1, modwrite::Steady()).pattern(0, {{0, "C-2 01 48F"}}).build());
    reused.render(3 * 442);
    reused.channel.startModule(module, 22050, ReplayProfile{});
    int differing = 0;
    for (int frame = 0; frame < 3 * 442; ++frame) {
        reused.frame();
        fresh.frame();
        differing += reused.step(0) != fresh.step(0);
    }
    EXPECT_EQ(differing, 0);
}
