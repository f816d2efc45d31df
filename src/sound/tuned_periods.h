// The accurate rules' period of every note, in quarter periods, one row per
// finetune row of periodTable (0 untuned, 1..7 one to seven eighths of a
// semitone up, 8..15 one to eight eighths down). A tuned sample plays as
// ProTracker's players tune it: the period of its note in the lowest octave
// (ProTracker's own tuned octave, whole periods), halved for each octave up
// and doubled for each octave down, kept to a quarter period. An untuned
// sample plays periodTable's own periods, but for B-3, which those players
// take as a quarter of B-1's (113.25, not 113). No note from C-1 to B-3
// tunes above B-3's period 113, where those players stop.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "sound/period_table.h"

constexpr std::uint32_t kQuarterPeriods = 4;  // an accurate period's units in one Amiga period

namespace tuned_periods {

// clang-format off
// C-1 to B-1 in whole periods, by finetune row.
inline constexpr std::uint32_t kLowestOctave[kFinetuneRows][12] = {
    {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453},  //  0
    {850, 802, 757, 715, 674, 637, 601, 567, 535, 505, 477, 450},  // +1
    {844, 796, 752, 709, 670, 632, 597, 563, 532, 502, 474, 447},  // +2
    {838, 791, 746, 704, 665, 628, 592, 559, 528, 498, 470, 444},  // +3
    {832, 785, 741, 699, 660, 623, 588, 555, 524, 495, 467, 441},  // +4
    {826, 779, 736, 694, 655, 619, 584, 551, 520, 491, 463, 437},  // +5
    {820, 774, 730, 689, 651, 614, 580, 547, 516, 487, 460, 434},  // +6
    {814, 768, 725, 684, 646, 610, 575, 543, 513, 484, 457, 431},  // +7
    {862, 814, 768, 725, 684, 646, 610, 575, 543, 513, 484, 457},  // -1
    {868, 820, 774, 730, 689, 651, 614, 580, 547, 516, 487, 460},  // -2
    {875, 826, 779, 736, 694, 655, 619, 584, 551, 520, 491, 463},  // -3
    {881, 832, 785, 741, 699, 660, 623, 588, 555, 524, 494, 467},  // -4
    {887, 838, 791, 746, 704, 665, 628, 592, 559, 528, 498, 470},  // -5
    {894, 844, 796, 752, 709, 670, 632, 597, 563, 532, 502, 474},  // -6
    {900, 850, 802, 757, 715, 675, 636, 601, 567, 535, 505, 477},  // -7
    {907, 856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480},  // -8
};
// clang-format on

constexpr std::uint32_t kLowestOctaveFirstNote = 12;  // C-1 among periodTable's 72 notes
constexpr std::uint32_t kTopProTrackerNote = 47;      // B-3
constexpr std::uint32_t kTopProTrackerPeriod = 113;

constexpr std::array<std::uint32_t, kPeriodTableSize> MakeTable() {
    std::array<std::uint32_t, kPeriodTableSize> table{};
    for (std::uint32_t row = 0; row < kFinetuneRows; ++row) {
        for (std::uint32_t note = 0; note < kNotesPerRow; ++note) {
            const std::uint32_t octave = note / 12;  // 1 is the lowest octave's
            const std::uint32_t lowest = kQuarterPeriods * kLowestOctave[row][note % 12];
            std::uint32_t period = octave == 0 ? 2 * lowest : lowest >> (octave - 1);
            if (row == 0 && note != kTopProTrackerNote) period = kQuarterPeriods * periodTable[note];
            if (note >= kLowestOctaveFirstNote && note <= kTopProTrackerNote)
                period = std::max(period, kQuarterPeriods * kTopProTrackerPeriod);
            table[row * kNotesPerRow + note] = period;
        }
    }
    return table;
}

}  // namespace tuned_periods

// Entry row * 72 + note: that note's period under the accurate rules, in quarter periods.
inline constexpr std::array<std::uint32_t, kPeriodTableSize> tunedPeriods = tuned_periods::MakeTable();

static_assert(tunedPeriods[24] == 4 * 428 && tunedPeriods[47] == 453 && tunedPeriods[46] == 4 * 120);
static_assert(tunedPeriods[5 * kNotesPerRow + 24] == 2 * 826, "C-2 at +5: half of C-1's 826");
static_assert(tunedPeriods[7 * kNotesPerRow + 47] == 4 * 113, "B-3 at +7 stops at 113");
