// The replay's pitch tables: the period of each note per finetune row, the
// nearest note for every period, the period-to-step table per output rate,
// and the vibrato sine. All read-only and shared.
#pragma once

#include <cstdint>

constexpr int kStepTableSize = 1716;

// The period-to-step table (8.8 fixed point) for an output rate of 11025,
// 22050 or 44100 Hz; null for any other rate.
const std::uint16_t* StepTableFor(std::uint32_t rate);
