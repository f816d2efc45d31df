#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit unsigned mono PCM as a RIFF WAVE: a 16-byte format chunk and
// the data chunk straight after it. False when the file cannot be written.
bool WriteWav(const std::string& path, const std::vector<std::uint8_t>& samples, std::uint32_t rate);
