// What each effect does to pitch, volume and position, on its row and on the
// ticks after it.
#include <gtest/gtest.h>

#include <memory>

#include "sound/period_tables.h"
#include "support/module_builder.h"
#include "support/module_replay.h"

using modtest::ModuleBuilder;
using modtest::Replay;

namespace {

constexpr std::uint64_t kTick = 442;  // frames per tick at 22050 Hz

modtest::SampleSpec Steady(std::uint8_t finetune = 0) {
    return {.name = "steady",
            .data = modtest::Constant(64, 100),
            .finetune = finetune,
            .volume = 64,
            .repeatStartWords = 0,
            .repeatLengthWords = 32};
}

// A replay of rows 0 and 1 of track 0 (steady samples 1, 2 with finetune 1,
// 3 with 15 and 4 with 8), advanced to tick `tick` counted from row 0's
// first; at speed 6, tick 6 is row 1's first.
std::unique_ptr<Replay> AtTick(const std::string& row0, std::uint64_t tick, const std::string& row1 = "") {
    auto replay = std::make_unique<Replay>(ModuleBuilder()
                                               .sample(1, Steady())
                                               .sample(2, Steady(1))
                                               .sample(3, Steady(15))
                                               .sample(4, Steady(8))
                                               .pattern(0, {{0, row0}, {1, row1}})
                                               .build());
    replay->frames(1 + tick * kTick + tick / 6);  // each row adds its reading frame
    return replay;
}

std::uint32_t Step(std::uint32_t period) { return StepTableFor(22050)[period]; }

}  // namespace

TEST(ModuleArpeggio, CyclesThroughTheTwoUpperNotesAndTheBase) {
    auto replay = AtTick("C-2 01 047", 0);
    EXPECT_EQ(replay->step(0), Step(428));
    const std::uint32_t expected[] = {Step(339), Step(285), Step(428), Step(339), Step(285)};
    for (std::uint32_t step : expected) {
        replay->frames(kTick);
        EXPECT_EQ(replay->step(0), step);
    }
}

TEST(ModuleArpeggio, StaysOnTheTopNoteOfItsRow) {
    auto replay = AtTick("B-5 01 0FF", 1);
    EXPECT_EQ(replay->step(0), Step(28));
}

TEST(ModuleFinetune, RetunesTheCellsNoteToTheSamplesRow) {
    EXPECT_EQ(AtTick("428 02 000", 0)->channel.track(0).period, 424u);  // one eighth up
    // The signed nibble 15 is one eighth down: row 8.
    EXPECT_EQ(AtTick("428 03 000", 0)->channel.track(0).period, 431u);
    // A period between notes is taken to the nearest table entry, the lower index of two.
    EXPECT_EQ(AtTick("429 01 000", 0)->channel.track(0).period, 428u);
}

TEST(ModuleFinetune, PeriodsBeyondTheTablesStayInThem) {
    // The highest period a cell can hold plays as the lowest note.
    EXPECT_EQ(AtTick("4095 01 000", 0)->channel.track(0).period, 1712u);
    EXPECT_EQ(AtTick("4095 01 000", 0)->step(0), Step(1712));
    EXPECT_EQ(AtTick("12 01 000", 0)->channel.track(0).period, 26u);
    // Nearest to row 6's top note, moved eight rows down: row 15's top note.
    EXPECT_EQ(AtTick("12 04 000", 0)->channel.track(0).period, 29u);
}

TEST(ModulePortamento, SlidesThePeriodByTheParameterEachTick) {
    EXPECT_EQ(AtTick("C-2 01 104", 3)->channel.track(0).period, 428u - 12);
    EXPECT_EQ(AtTick("C-2 01 204", 3)->channel.track(0).period, 428u + 12);
}

TEST(ModulePortamento, HoldsThePitchAtTheEndsOfTheStepTable) {
    auto down = AtTick("C-0 01 2FF", 5, "--- 00 2FF");
    EXPECT_EQ(down->channel.track(0).period, 1715u);
    EXPECT_EQ(down->step(0), Step(1712));
    auto up = AtTick("C-3 01 1FF", 5);
    EXPECT_EQ(up->channel.track(0).period, 0u);
    EXPECT_EQ(up->step(0), Step(214));  // period 0 has no step: the pitch holds
}

TEST(ModuleTonePortamento, SlidesToTheNoteAndStopsThere) {
    auto replay = AtTick("C-2 01 000", 6, "C-3 00 340");
    EXPECT_EQ(replay->channel.track(0).period, 428u);  // the note itself waits
    replay->frames(kTick);
    EXPECT_EQ(replay->channel.track(0).period, 428u - 64);
    replay->frames(4 * kTick);
    EXPECT_EQ(replay->channel.track(0).period, 214u);
    EXPECT_EQ(replay->step(0), Step(214));
}

TEST(ModuleTonePortamento, WithVolumeSlideGoesOnSlidingAndFades) {
    Replay combined(ModuleBuilder()
                        .sample(1, Steady())
                        .pattern(0, {{0, "C-2 01 000"}, {1, "C-3 00 320"}, {2, "--- 00 504"}})
                        .build());
    combined.frames(1 + 2 * (6 * kTick + 1) + kTick);
    EXPECT_EQ(combined.channel.track(0).period, 428u - 6 * 32);
    EXPECT_EQ(combined.channel.track(0).trackVolume, 60u);
}

TEST(ModuleVibrato, SwingsTheStepAroundAnUnchangedPeriod) {
    // Speed 8 steps an eighth of the sine a tick; depth 15 swings 15 periods at the peak.
    auto replay = AtTick("C-2 01 48F", 1, "--- 00 400");
    const std::uint32_t swing[] = {428, 438, 443, 438, 428};  // positions 0, 8, 16, 24, 32
    for (std::uint32_t period : swing) {
        EXPECT_EQ(replay->step(0), Step(period));
        replay->frames(kTick);
    }
    replay->frames(1 + kTick);  // row 1 goes on from position 40 with the same speed and depth
    EXPECT_EQ(replay->step(0), Step(417));
    EXPECT_EQ(replay->channel.track(0).period, 428u);
}

TEST(ModuleVibrato, StaysInsideTheStepTableAtTheHighestNote) {
    auto replay = AtTick("12 01 4FF", 3);
    EXPECT_NE(replay->step(0), 0u);
}

TEST(ModuleVolume, SetVolumeAndFineSlidesAtTheRow) {
    EXPECT_EQ(AtTick("C-2 01 C20", 0)->frame().left, 32 * 100);
    EXPECT_EQ(AtTick("C-2 01 C50", 0)->channel.track(0).trackVolume, 80u);  // above 64 is kept
    EXPECT_EQ(AtTick("C-2 01 C20", 6, "--- 00 EA4")->channel.track(0).trackVolume, 36u);
    EXPECT_EQ(AtTick("C-2 01 C3E", 6, "--- 00 EA4")->channel.track(0).trackVolume, 64u);
    EXPECT_EQ(AtTick("C-2 01 C02", 6, "--- 00 EB4")->channel.track(0).trackVolume, 0u);
}

TEST(ModuleVolume, SlidesEachTickWithinZeroTo64) {
    EXPECT_EQ(AtTick("C-2 01 C20 ", 2)->channel.track(0).trackVolume, 32u);
    EXPECT_EQ(AtTick("C-2 01 A20", 0)->channel.track(0).trackVolume, 64u);
    auto down = AtTick("C-2 01 A08", 3);
    EXPECT_EQ(down->channel.track(0).trackVolume, 64u - 24);
    EXPECT_EQ(AtTick("C-2 01 A0F", 5)->channel.track(0).trackVolume, 0u);
    Replay up(ModuleBuilder().sample(1, Steady()).pattern(0, {{0, "C-2 01 C3C"}, {1, "--- 00 A30"}}).build());
    up.frames(1 + (6 * kTick + 1) + 5 * kTick);
    EXPECT_EQ(up.channel.track(0).trackVolume, 64u);
}

TEST(ModuleNoteCutAndDelay, CutSilencesOnItsTickAndZeroNeverCuts) {
    auto cut = AtTick("C-2 01 EC2", 1);
    EXPECT_NE(cut->frame().left, 0);
    cut->frames(kTick);
    EXPECT_EQ(cut->frame().left, 0);
    EXPECT_EQ(cut->channel.track(0).trackVolume, 64u);  // the next note sounds again

    auto never = AtTick("C-2 01 EC0", 5);
    EXPECT_NE(never->frame().left, 0);
}

TEST(ModuleNoteCutAndDelay, DelayedNoteSoundsOnTickYPlusOne) {
    auto now = AtTick("C-2 01 000", 6, "C-3 00 ED0");
    EXPECT_EQ(now->step(0), Step(428));
    now->frames(kTick);
    EXPECT_EQ(now->step(0), Step(214));

    auto later = AtTick("C-2 01 000", 6, "C-3 00 ED2");
    later->frames(2 * kTick);
    EXPECT_EQ(later->step(0), Step(428));
    later->frames(kTick);
    EXPECT_EQ(later->step(0), Step(214));
}

TEST(ModuleNoteCutAndDelay, DelayWithoutANoteLeavesTheTrackPlaying) {
    auto bare = AtTick("C-2 01 000", 7, "--- 00 ED0");
    EXPECT_EQ(bare->step(0), Step(428));
    EXPECT_NE(bare->frame().left, 0);
}

TEST(ModuleSampleOffset, StartsTheNoteParamTimes256BytesIn) {
    std::vector<std::int8_t> pages;
    for (int page = 0; page < 4; ++page) pages.insert(pages.end(), 256, static_cast<std::int8_t>(10 * (page + 1)));
    auto image = [&](const std::string& cell) {
        return ModuleBuilder()
            .sample(1, {.name = "pages", .data = pages, .volume = 64})
            .pattern(0, {{0, cell}})
            .build();
    };
    EXPECT_EQ(Replay(image("C-2 01 902")).frame().left, 30 * 64);
    EXPECT_EQ(Replay(image("C-2 01 904")).frame().left, 0);  // past the end: silent
}
