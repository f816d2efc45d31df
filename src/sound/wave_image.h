// The RIFF WAVE layout the sample loaders read: a format chunk at offset 12
// (8-bit, one channel), then chunks up to the first "data" chunk. The RIFF
// header and the format tag are not examined; chunks are skipped without a
// padding byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wave {

constexpr std::size_t kFormatChunkAt = 12;
constexpr std::size_t kFormatBodyAt = 20;
constexpr std::size_t kFormatBodySize = 16;
constexpr std::size_t kChunkHeaderSize = 8;

// Samples this long or longer cannot be played: a voice keeps positions in
// 24.8 fixed point.
constexpr std::uint32_t kMaxSampleBytes = 0x00FFFFFF;

std::uint32_t ReadU32(const std::uint8_t* p);
std::uint16_t ReadU16(const std::uint8_t* p);
bool IsChunk(const std::uint8_t* header, const char (&id)[5]);

// What the format chunk's 16-byte body must say; the rate, or 0 when the
// sample cannot be played (not 8-bit mono, or a rate outside 1..65535).
std::uint32_t PlayableRate(const std::uint8_t* formatBody);

struct Image {
    std::uint32_t rate = 0;
    std::size_t dataOffset = 0;  // bytes from the start of the image
    std::uint32_t length = 0;    // bytes of sample data
};

// Reads a whole WAVE image held in memory; false when it is not a playable
// sample or a chunk reaches past `size`. Nothing outside the image is read.
bool ParseImage(const std::uint8_t* bytes, std::size_t size, Image* image);

}  // namespace wave
