// The replay's pitch tables besides the periods themselves: the nearest note
// for every period a cell can hold, the period-to-step table per output rate,
// and the vibrato sine. All read-only, computed at compile time and shared by
// every music channel.
#pragma once

#include <array>
#include <cstdint>

#include "sound/period_table.h"

constexpr int kStepTableSize = 1716;
// nearestIndex covers periods 0..1713; a cell's larger periods are read as 1713.
constexpr std::uint32_t kNearestIndexSize = 1714;
constexpr std::uint32_t kHighestIndexedPeriod = kNearestIndexSize - 1;
// The longest period with a real step; longer ones play at its pitch.
constexpr std::uint32_t kLowestPitchPeriod = 1712;

// Entry p: the periodTable index (row * 72 + note) whose period is nearest to
// p, the lowest index among equally near ones.
extern const std::array<std::uint32_t, kNearestIndexSize> nearestIndex;

// The note (0..71) of a periodTable index, whatever its row.
constexpr std::uint32_t NoteOfIndex(std::uint32_t index) {
    while (index >= kNotesPerRow) index -= kNotesPerRow;
    return index;
}

// Entry i: 256 * sin(2 pi i / 64) rounded down, the rising and falling half
// of a 64-step sine; the other half is the same values negated.
extern const std::array<std::int32_t, 32> vibratoTable;

// The period-to-step table for an output rate of 11025, 22050 or 44100 Hz:
// entry p is the Amiga PAL clock's frequency for period p divided by the rate,
// in 8.8 fixed point, kept to 16 bits; entries 0 and 1713..1715 are 0. Null
// for any other rate.
const std::uint16_t* StepTableFor(std::uint32_t rate);
