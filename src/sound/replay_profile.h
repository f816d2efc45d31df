// How a music channel replays a module. The game's engine plays the classic
// rules, written for an 11 kHz handheld: ticks of whole frames, an 8.8 step
// read from a table per rate, no interpolation, 8-bit output. The accurate
// rules play a song as ProTracker does, for people who compare it with the
// players they know: ticks of exactly rate * 2.5 / tempo frames, a 32.32
// step worked out for any rate, and the effects the classic rules leave out.
#pragma once

#include <cstdint>

enum class ReplayRules : std::uint8_t { classic, accurate };

// Between two sample bytes: the nearer one's value (none), or the straight
// line between them (linear). The classic rules always take none.
enum class Interpolation : std::uint8_t { none, linear };

struct ReplayProfile {
    ReplayRules rules = ReplayRules::classic;
    Interpolation interpolation = Interpolation::none;
};

// The output rates the accurate rules play at, in frames per second.
constexpr std::uint32_t kLowestAccurateRate = 8000;
constexpr std::uint32_t kHighestAccurateRate = 96000;
