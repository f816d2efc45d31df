// Random key scripts for the soak: every key the program reads, the pause,
// and rarely the back key or a loss of activation, drawn from a seed.
#pragma once

#include <cstdint>
#include <string>

namespace soak {

// A key script (the headless program's `--keys` format) covering `durationMs`
// of virtual time. The same seed always gives the same script.
std::string MakeKeyScript(std::uint32_t seed, std::uint64_t durationMs);

}  // namespace soak
