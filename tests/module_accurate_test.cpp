// The accurate replay rules: ProTracker's timing, a pitch within two cents at
// any rate, and the effects the classic rules leave out or play otherwise.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "module_builder.h"
#include "sound/period_table.h"
#include "sound/song_player.h"
#include "sound/tuned_periods.h"
#include "support/module_replay.h"

using modwrite::ModuleBuilder;
using modwrite::Replay;

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kTick = 882;  // 44100 * 2.5 / 125
constexpr ReplayProfile kAccurate{ReplayRules::accurate, Interpolation::none};

ModuleBuilder Song(const std::map<int, std::string>& rows) {
    ModuleBuilder builder;
    builder.sample(1, modwrite::Steady()).sample(2, {.name = "ramp", .data = modwrite::Ramp(4096), .volume = 64});
    builder.sample(3, modwrite::Steady(32)).pattern(0, rows);
    return builder;
}

std::unique_ptr<Replay> Play(std::vector<std::uint8_t> image, std::uint32_t rate = kRate,
                             ReplayProfile profile = kAccurate) {
    return std::make_unique<Replay>(std::move(image), Replay::Options{.rate = rate, .profile = profile});
}

// The song of `rows` with tick `tick` (counted from row 0's first) just begun.
std::unique_ptr<Replay> AtTick(const std::map<int, std::string>& rows, std::uint32_t tick) {
    auto replay = Play(Song(rows).build());
    replay->render(tick * kTick + 1);
    return replay;
}

// The step of a period in quarter periods, the accurate rules' unit.
std::uint64_t FineStep(std::uint32_t quarters, std::uint32_t rate = kRate) {
    return (std::uint64_t{3546895} << 34) / (std::uint64_t{quarters} * rate);
}

std::uint64_t SongFramesAt(const std::vector<std::uint8_t>& image, std::uint32_t rate, std::uint32_t passes = 0) {
    Module module;
    module.useImage(image.data(), image.size());
    return SongFrames(module, {.rate = rate, .extraPasses = passes, .profile = kAccurate});
}

}  // namespace

TEST(AccurateTiming, TicksLastRateTimesTwoAndAHalfOverTempoWithTheFractionCarried) {
    // 64 rows of 6 ticks; at tempo 137 a tick is 804.74... frames at 44100 Hz.
    const auto plain = Song({{0, "C-2 01 000"}}).build();
    const auto tempo137 = Song({{0, "C-2 01 F89"}}).build();
    for (const std::uint32_t rate : {8000u, 11025u, 22050u, 44100u, 48000u, 96000u}) {
        SCOPED_TRACE(rate);
        EXPECT_EQ(SongFramesAt(plain, rate), 384ull * rate * 5 / 250);
        EXPECT_EQ(SongFramesAt(tempo137, rate), 384ull * rate * 5 / 274);
    }
}

TEST(AccuratePitch, EveryNoteIsWithinTwoCentsAtAnyRate) {
    // Every note of the untuned row, one a row at speed 1.
    std::map<int, std::string> first, second;
    for (std::uint32_t note = 0; note < kNotesPerRow; ++note)
        (note < 64 ? first[static_cast<int>(note)] : second[static_cast<int>(note - 64)]) =
            std::to_string(periodTable[note]) + " 01 " + (note == 0 ? "F01" : "000");
    const auto image = Song(first).pattern(1, second).orders({0, 1}).build();
    for (const std::uint32_t rate : {8000u, 11025u, 22050u, 32000u, 44100u, 48000u, 96000u}) {
        SCOPED_TRACE(rate);
        auto replay = Play(image, rate);
        replay->render(1);
        double worst = 0;
        for (std::uint32_t note = 0; note < kNotesPerRow; ++note) {
            const double ideal = 4 * 3546895.0 / tunedPeriods[note] / rate * 4294967296.0;
            const double cents = 1200 * std::log2(static_cast<double>(replay->step(0)) / ideal);
            worst = std::max(worst, std::abs(cents));
            while (replay->channel.row() == note % 64 && !replay->channel.isStopped()) replay->render(1);
        }
        EXPECT_LT(worst, 2.0);
    }
}

TEST(AccuratePitch, TunedSamplesPlayProTrackersTunedOctaveHalvedForEachOctaveUp) {
    // Stored finetune 5 and 9 (-7): C-1 826 and 900, C#2 779 / 2, D-3 736 / 4; B-3 at +5 stops at 113.
    ModuleBuilder builder;
    builder.sample(1, {.name = "up", .data = modwrite::Constant(64, 100), .finetune = 5, .repeatLengthWords = 32});
    builder.sample(2, {.name = "down", .data = modwrite::Constant(64, 100), .finetune = 9, .repeatLengthWords = 32});
    auto image = builder
                     .pattern(0, {{0, "C-1 01 F01"},
                                  {1, "C#2 01 000"},
                                  {2, "D-3 01 000"},
                                  {3, "B-3 01 000"},
                                  {4, "C-1 02 000"},
                                  {5, "C#2 02 000"},
                                  {6, "D-3 02 000"}})
                     .build();
    auto replay = Play(image);
    for (const std::uint32_t quarters : {4 * 826u, 2 * 779u, 736u, 4 * 113u, 4 * 900u, 2 * 850u, 802u}) {
        replay->render(1);
        EXPECT_EQ(replay->channel.track(0).period, quarters);
        EXPECT_EQ(replay->step(0), FineStep(quarters));
        replay->render(kTick - 1);
    }
}

TEST(AccurateEffects, EachEffectOnItsRowAndTheTicksAfter) {
    using enum modwrite::Probe;
    // Periods are given whole (the track keeps quarters); a step as the period whose step it is.
    const struct {
        std::map<int, std::string> rows;
        std::vector<modwrite::Check> checks;
    } songs[] = {
        // clang-format off
        // Vibrato by ProTracker's depth: 255 * 15 / 128 = 29 periods at the peak, the first half raising
        // the period; none on a row's first tick; each nibble kept (speed 2 from position 40).
        {{{0, "C-2 01 48F"}, {1, "--- 00 420"}},
         {{1, step, 428}, {2, step, 449}, {3, step, 457}, {5, step, 428}, {6, step, 428}, {7, step, 407},
          {7, period, 428}}},
        // The square waveform swings fully at once, and to the other side from position 32.
        {{{0, "C-2 01 E42"}, {1, "--- 00 48F"}}, {{7, step, 457}, {11, step, 399}}},
        // Tremolo swings the volume heard (sample 3 is at 32; depth 4: 15 at the peak), not the one set.
        {{{0, "C-2 03 784"}}, {{2, effective, 32 + (180 * 4 >> 6)}, {3, effective, 47}, {3, volume, 32}}},
        // A tone portamento's reached target is forgotten: after a new C-3, a bare 3xx stays put.
        {{{0, "C-3 01 000"}, {1, "C-2 00 3FF"}, {2, "C-3 01 000"}, {3, "--- 00 3FF"}}, {{7, period, 428}, {24, period, 214}}},
        // Glissando sounds whole semitones: 420 is nearer C-2 than C#2 (404); 428 - 3 * 8 is C#2 itself.
        {{{0, "C-2 01 E31"}, {1, "C-3 00 308"}}, {{7, period, 420}, {7, step, 428}, {9, step, 404}}},
        // Fine slides and the finetune effect move the period on the row's first tick only; E51 tunes one
        // eighth up, to half of C-1's 850.
        {{{0, "C-2 01 E14"}}, {{5, period, 424}}}, {{{0, "C-2 01 E24"}}, {{5, period, 432}}},
        {{{0, "C-2 01 E51"}}, {{0, period, 425}}}, {{{0, "C-2 01 E5F"}}, {{0, period, 431}}},
        // A note delay plays the note on tick y; without a note the track plays on.
        {{{0, "C-2 01 000"}, {1, "C-3 01 ED3"}}, {{8, period, 428}, {9, period, 214}}},
        {{{0, "C-2 01 000"}, {1, "--- 00 ED3"}}, {{10, step, 428}, {10, sounding, 1}}},
        // clang-format on
    };
    for (const auto& song : songs)
        for (const modwrite::Check& check : song.checks) {
            auto replay = AtTick(song.rows, static_cast<std::uint32_t>(check.tick));
            const auto whole = static_cast<std::uint32_t>(check.expected);
            const std::uint64_t expected = check.probe == step     ? FineStep(4 * whole)
                                           : check.probe == period ? 4 * whole
                                                                   : check.expected;
            EXPECT_EQ(replay->probe(check.probe), expected)
                << song.rows.rbegin()->second << ", tick " << check.tick << ", probe " << static_cast<int>(check.probe);
        }
    EXPECT_EQ(AtTick({{0, "C-2 03 784"}}, 3)->render(1)[0].left, 47 * (100 << 8)) << "tremolo is heard";
    auto delayed = AtTick({{0, "C-2 01 000"}, {1, "C-3 01 ED3"}}, 9);
    EXPECT_EQ(delayed->channel.track(0).position, delayed->step(0)) << "the delayed note starts its sample";
}

// Rows 1 and 2 played three times in all (64 + 4 rows); a break at the last
// order that ends a song that does not loop, or starts a looping one again.
TEST(AccurateSongLength, PatternLoopsPlayAgainWithinThePassAndABreakAtTheLastOrderEndsIt) {
    const auto loops = Song({{0, "C-2 01 000"}, {1, "--- 00 E60"}, {2, "--- 00 E62"}}).build();
    const auto broken = Song({{0, "C-2 01 000"}, {9, "--- 00 D00"}}).build();
    EXPECT_EQ(SongFramesAt(loops, kRate), 68ull * 6 * kTick);
    EXPECT_EQ(SongFramesAt(broken, kRate), 10ull * 6 * kTick);
    EXPECT_EQ(SongFramesAt(broken, kRate, 1), 20ull * 6 * kTick);
    EXPECT_EQ(SongFramesAt(Song({{0, "C-2 01 000"}, {3, "--- 00 F00"}}).build(), kRate), 3ull * 6 * kTick);
    auto replay = Play(loops);
    replay->render(3 * 6 * kTick + 1);  // rows 0, 1, 2 and 1 again
    EXPECT_EQ(replay->channel.row(), 1u);
    EXPECT_EQ(replay->channel.completedPasses(), 0u);
}

TEST(AccurateRetrigger, StartsTheSampleAgainEveryYTicks) {
    auto replay = AtTick({{0, "C-2 02 E93"}}, 2);
    EXPECT_GT(replay->channel.track(0).position, 2 * kTick * replay->step(0) - replay->step(0));
    replay->render(kTick);
    EXPECT_EQ(replay->channel.track(0).position, replay->step(0));  // restarted, one frame played
}

TEST(AccurateInterpolation, LinearDrawsTheLineBetweenBytesAndAcrossTheLoop) {
    // Bytes 0 and 64 by turns, looped: without interpolation only those two values sound.
    std::vector<std::int8_t> zigzag(64);
    for (std::size_t i = 1; i < zigzag.size(); i += 2) zigzag[i] = 64;
    const auto image = ModuleBuilder()
                           .sample(1, {.name = "zigzag", .data = zigzag, .volume = 64, .repeatLengthWords = 32})
                           .pattern(0, {{0, "C-3 01 000"}})
                           .build();
    auto levels = [&](Interpolation interpolation) {
        std::set<std::int32_t> seen;
        auto replay = Play(image, kRate, {ReplayRules::accurate, interpolation});
        for (const modwrite::Frame& frame : replay->render(4000)) seen.insert(frame.left / 64);
        return seen;
    };
    const auto none = levels(Interpolation::none);
    EXPECT_EQ(none, (std::set<std::int32_t>{0, 64 << 8}));
    const auto linear = levels(Interpolation::linear);
    EXPECT_GT(linear.size(), 3u);
    EXPECT_LE(*linear.rbegin(), 64 << 8);
}
