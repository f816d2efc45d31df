#include "sound/wave_image.h"

#include <cstring>

namespace wave {

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t ReadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

bool IsChunk(const std::uint8_t* header, const char (&id)[5]) { return std::memcmp(header, id, 4) == 0; }

std::uint32_t PlayableRate(const std::uint8_t* formatBody) {
    const std::uint16_t channels = ReadU16(formatBody + 2);
    const std::uint32_t rate = ReadU32(formatBody + 4);
    const std::uint16_t bits = ReadU16(formatBody + 14);
    if (channels != 1 || bits != 8) return 0;
    // FIX: a rate of 0 would give a voice that never ends, and one of 65536
    // or more overflows the step computation; both are refused.
    if (rate == 0 || rate > 0xFFFF) return 0;
    return rate;
}

bool ParseImage(const std::uint8_t* bytes, std::size_t size, Image* image) {
    if (bytes == nullptr || size < kFormatBodyAt + kFormatBodySize) return false;
    if (!IsChunk(bytes + kFormatChunkAt, "fmt ")) return false;
    const std::uint32_t formatSize = ReadU32(bytes + kFormatChunkAt + 4);
    const std::uint32_t rate = PlayableRate(bytes + kFormatBodyAt);
    if (rate == 0) return false;
    // FIX: a format chunk too short for its body is refused rather than read
    // as overlapping the chunk after it.
    if (formatSize < kFormatBodySize) return false;
    // FIX: the walk is bounded by the image: a chunk size that points past
    // the end, or an image without a "data" chunk, fails.
    std::uint64_t at = kFormatBodyAt + static_cast<std::uint64_t>(formatSize);
    while (at + kChunkHeaderSize <= size) {
        const std::uint8_t* header = bytes + at;
        const std::uint32_t chunkSize = ReadU32(header + 4);
        if (IsChunk(header, "data")) {
            // FIX: sample data longer than a voice's 24.8 position can reach is refused.
            if (at + kChunkHeaderSize + chunkSize > size || chunkSize > kMaxSampleBytes) return false;
            image->rate = rate;
            image->dataOffset = static_cast<std::size_t>(at + kChunkHeaderSize);
            image->length = chunkSize;
            return true;
        }
        at += kChunkHeaderSize + static_cast<std::uint64_t>(chunkSize);
    }
    return false;
}

}  // namespace wave
