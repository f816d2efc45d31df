#include "sound/period_tables.h"

namespace {

using StepTable = std::array<std::uint16_t, kStepTableSize>;

constexpr std::uint64_t kAmigaPalClock = 3546895;

constexpr StepTable MakeStepTable(std::uint32_t rate) {
    StepTable table{};
    for (std::uint32_t p = 1; p <= kLowestPitchPeriod; ++p)
        table[p] = static_cast<std::uint16_t>(kAmigaPalClock * 256 / (std::uint64_t{p} * rate));
    return table;
}

constexpr std::array<std::uint32_t, kNearestIndexSize> MakeNearestIndex() {
    // The lowest table index of every period value, then an outward search
    // from each p: the first distance that finds a period wins, and at that
    // distance the lower index of the two sides.
    constexpr std::uint32_t kNone = 0xFFFFFFFF;
    constexpr std::uint32_t kValues = 2048;
    std::array<std::uint32_t, kValues> lowestIndexOf{};
    for (auto& index : lowestIndexOf) index = kNone;
    for (std::uint32_t i = kPeriodTableSize; i-- > 0;) lowestIndexOf[periodTable[i]] = i;

    std::array<std::uint32_t, kNearestIndexSize> nearest{};
    for (std::uint32_t p = 0; p < kNearestIndexSize; ++p) {
        for (std::uint32_t d = 0;; ++d) {
            const std::uint32_t below = d <= p ? lowestIndexOf[p - d] : kNone;
            const std::uint32_t above = p + d < kValues ? lowestIndexOf[p + d] : kNone;
            const std::uint32_t best = below < above ? below : above;
            if (best != kNone) {
                nearest[p] = best;
                break;
            }
        }
    }
    return nearest;
}

// sin(x) for 0 <= x <= pi / 2 by its Taylor series; ample for 8 bits.
constexpr double Sine(double x) {
    double term = x, sum = x;
    for (int n = 1; n < 12; ++n) {
        term *= -x * x / ((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

constexpr std::array<std::int32_t, 32> MakeVibratoTable() {
    constexpr double kPi = 3.14159265358979323846;
    std::array<std::int32_t, 32> table{};
    for (int i = 0; i < 32; ++i) {
        const int quarter = i <= 16 ? i : 32 - i;  // sin is symmetric about the peak
        // The small lift keeps exact values (the peak, 256) from rounding down
        // through the series' last bit of error.
        table[i] = static_cast<std::int32_t>(256.0 * Sine(2.0 * kPi * quarter / 64.0) + 1e-9);
    }
    return table;
}

constexpr StepTable stepTable11025 = MakeStepTable(11025);
constexpr StepTable stepTable22050 = MakeStepTable(22050);
constexpr StepTable stepTable44100 = MakeStepTable(44100);

static_assert(stepTable11025[428] == 192 && stepTable22050[428] == 96 && stepTable44100[428] == 48);
static_assert(stepTable11025[1] == 16822, "82358 kept to its low 16 bits");
static_assert(stepTable11025[0] == 0 && stepTable11025[1713] == 0 && stepTable11025[1715] == 0);

}  // namespace

constexpr std::array<std::uint32_t, kNearestIndexSize> nearestIndex = MakeNearestIndex();
constexpr std::array<std::int32_t, 32> vibratoTable = MakeVibratoTable();

static_assert(nearestIndex[428] == 24 && nearestIndex[1712] == 0 && nearestIndex[28] == 71);
static_assert(
    [] {
        for (std::uint32_t note = 0; note < kNotesPerRow; ++note)
            if (nearestIndex[periodTable[note]] != note) return false;
        return true;
    }(),
    "every untuned period is its own note");
static_assert(nearestIndex[0] == 503 && nearestIndex[25] == 503, "row 6, note 71, period 26");
// clang-format off
static_assert(vibratoTable == std::array<std::int32_t, 32>{
                  0,   25,  49,  74,  97,  120, 142, 162, 181, 197, 212, 225, 236, 244, 251, 254,
                  256, 254, 251, 244, 236, 225, 212, 197, 181, 162, 142, 120, 97,  74,  49,  25});

const std::uint16_t* StepTableFor(std::uint32_t rate) {
    switch (rate) {
    case 11025: return stepTable11025.data();
    case 22050: return stepTable22050.data();
    case 44100: return stepTable44100.data();
    default: return nullptr;
    }
}
// clang-format on
