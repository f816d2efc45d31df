// Writing 8-bit unsigned PCM as a RIFF WAVE file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace modplay {

// Writes the whole file to `out`: the header for `channels` channels at
// `rate` frames per second, then `bytes` (interleaved left, right in stereo).
// False when the writing fails.
bool WriteWave(std::FILE* out, const std::vector<std::uint8_t>& bytes, std::uint32_t rate, std::uint32_t channels);

}  // namespace modplay
