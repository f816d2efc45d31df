// What each effect does to pitch, volume and position, on its row and on the
// ticks after it.
#include <gtest/gtest.h>

#include "module_builder.h"
#include "sound/period_tables.h"
#include "support/module_replay.h"

using modwrite::ModuleBuilder;
using modwrite::Replay;

namespace {

constexpr std::uint64_t kTick = 442;  // frames per tick at 22050 Hz

std::uint64_t Step(std::uint64_t period) { return StepTableFor(22050)[period]; }

}  // namespace

TEST(ModuleEffects, EachEffectOnItsRowAndTheTicksAfter) {
    using enum modwrite::Probe;
    // Rows 0, 1... of track 0; samples 1 (steady), 2 (finetune 1), 3 (15) and
    // 4 (8). At speed 6, tick 6 is row 1's first. A step is given as the
    // period whose step it is.
    const struct {
        std::vector<std::string> rows;
        std::vector<modwrite::Check> checks;
    } songs[] = {
        // clang-format off
        // Arpeggio: the base, then the two upper notes, by turns; at the top of the table it stays there.
        {{"C-2 01 047"}, {{0, step, 428}, {1, step, 339}, {2, step, 285}, {3, step, 428}, {5, step, 285}}},
        {{"B-5 01 0FF"}, {{1, step, 28}}},
        // Finetune retunes the cell's note to the sample's row (1 and the signed 15: an eighth up and
        // down); a period between notes goes to the nearest entry, the lower index of two.
        {{"428 02 000"}, {{0, period, 424}}}, {{"428 03 000"}, {{0, period, 431}}}, {{"429 01 000"}, {{0, period, 428}}},
        // Periods beyond the tables stay in them; row 6's top note, eight rows down, is row 15's.
        {{"4095 01 000"}, {{0, period, 1712}, {0, step, 1712}}}, {{"12 01 000"}, {{0, period, 26}}},
        {{"12 04 000"}, {{0, period, 29}}},
        // Portamento slides each tick, and holds the pitch at the ends of the step table.
        {{"C-2 01 104"}, {{3, period, 416}}}, {{"C-2 01 204"}, {{3, period, 440}}},
        {{"C-0 01 2FF", "--- 00 2FF"}, {{5, period, 1715}, {5, step, 1712}}},
        {{"C-3 01 1FF"}, {{5, period, 0}, {5, step, 214}}},
        // Tone portamento: the note waits, the slide stops on it; with a volume slide it goes on and fades.
        {{"C-2 01 000", "C-3 00 340"}, {{6, period, 428}, {7, period, 364}, {11, period, 214}, {11, step, 214}}},
        {{"C-2 01 000", "C-3 00 320", "--- 00 504"}, {{13, period, 236}, {13, volume, 60}}},
        // Vibrato: speed 8 an eighth of the sine a tick, depth 15 periods at the peak, around a period
        // that stays; a bare 400 goes on from position 40 with the same speed and depth. From the highest
        // note it swings past the top note (26 - 15 at its peak), still inside the step table.
        {{"C-2 01 48F", "--- 00 400"},
         {{1, step, 428}, {2, step, 438}, {3, step, 443}, {4, step, 438}, {5, step, 428}, {7, step, 417},
          {7, period, 428}}},
        {{"12 01 4FF"}, {{4, step, 11}}},
        // Set volume (above 64 kept), fine slides at the row, slides each tick within 0..64.
        {{"C-2 01 C50"}, {{0, volume, 80}}}, {{"C-2 01 C20", "--- 00 EA4"}, {{2, volume, 32}, {6, volume, 36}}},
        {{"C-2 01 C3E", "--- 00 EA4"}, {{6, volume, 64}}}, {{"C-2 01 C02", "--- 00 EB4"}, {{6, volume, 0}}},
        {{"C-2 01 A20"}, {{0, volume, 64}}}, {{"C-2 01 A08"}, {{3, volume, 40}}}, {{"C-2 01 A0F"}, {{5, volume, 0}}},
        {{"C-2 01 C3C", "--- 00 A30"}, {{11, volume, 64}}},
        // Note cut on its tick (the next note sounds again); EC0 never cuts.
        {{"C-2 01 EC2"}, {{1, sounding, 1}, {2, sounding, 0}, {3, volume, 64}}},
        {{"C-2 01 EC0"}, {{5, sounding, 1}}},
        // Note delay: the note on tick y + 1 of its row. FIX: without a note the track plays on.
        {{"C-2 01 000", "C-3 00 ED0"}, {{6, step, 428}, {7, step, 214}}},
        {{"C-2 01 000", "C-3 00 ED2"}, {{8, step, 428}, {9, step, 214}}},
        {{"C-2 01 000", "--- 00 ED0"}, {{7, step, 428}, {7, sounding, 1}}},
        // clang-format on
    };
    for (const auto& song : songs) {
        std::map<int, std::string> rows;
        for (std::size_t r = 0; r < song.rows.size(); ++r) rows[static_cast<int>(r)] = song.rows[r];
        ModuleBuilder builder;
        int number = 0;
        for (const std::uint8_t finetune : {0, 1, 15, 8}) builder.sample(++number, modwrite::Steady(64, finetune));
        const auto image = builder.pattern(0, rows).build();
        for (const modwrite::Check& check : song.checks) {
            Replay replay(image);
            replay.render(1 + check.tick * kTick + check.tick / 6);  // each row adds its reading frame
            EXPECT_EQ(replay.probe(check.probe), check.probe == step ? Step(check.expected) : check.expected)
                << song.rows.back() << ", tick " << check.tick << ", probe " << static_cast<int>(check.probe);
        }
    }
}

// FIX: the sample offset counts in 256-byte pages.
TEST(ModuleEffects, SampleOffsetStartsTheNoteParamTimes256BytesIn) {
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
