// The layout of a four-track, 31-sample module image (numbers big-endian):
// a 20-byte title, 31 sample headers of 30 bytes, the song length, the
// restart position, a 128-entry order table, a 4-byte signature, then the
// patterns (64 rows of four 4-byte cells each) and the samples' signed 8-bit
// data, samples 1..31 one after another.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::size_t kSampleHeadersOffset = 20;
constexpr std::size_t kSampleHeaderBytes = 30;
constexpr std::size_t kSongLengthOffset = 950;
constexpr std::size_t kRestartOffset = 951;
constexpr std::size_t kOrderTableOffset = 952;
constexpr std::size_t kSignatureOffset = 1080;
constexpr std::size_t kPatternsOffset = 1084;

constexpr std::uint32_t kOrderCount = 128;
constexpr std::uint32_t kSampleSlots = 32;  // sample numbers 1..31; 0 means none
constexpr std::uint32_t kTracks = 4;
constexpr std::uint32_t kRowsPerPattern = 64;
constexpr std::size_t kCellBytes = 4;
constexpr std::size_t kRowBytes = kCellBytes * kTracks;
constexpr std::size_t kPatternBytes = kRowBytes * kRowsPerPattern;

// One cell of a pattern: which sample, which note, which effect.
struct Cell {
    std::uint32_t sample;  // 0 keeps the track's sample
    std::uint32_t period;  // 0 is no note
    std::uint32_t effect;  // 0..15
    std::uint32_t param;   // x = param >> 4, y = param & 15
};

constexpr Cell DecodeCell(const std::uint8_t* b) {
    return Cell{static_cast<std::uint32_t>((b[0] & 0xF0) | (b[2] >> 4)),
                static_cast<std::uint32_t>(((b[0] & 0x0F) << 8) | b[1]), static_cast<std::uint32_t>(b[2] & 0x0F), b[3]};
}

// One sample's values as the mixer uses them.
struct SampleInfo {
    std::uint32_t length = 0;           // bytes in 24.8 fixed point
    std::uint32_t repeatStart = 0;      // 24.8
    std::uint32_t repeatLength = 0;     // 24.8; 0 when the sample does not loop
    std::uint32_t defaultVolume = 0;    // as stored
    std::uint32_t finetune = 0;         // 0..15, the row of periodTable
    const std::int8_t* data = nullptr;  // into the image; null plays nothing
};

// What a music channel reads from the header when a song starts. Every
// sample's data lies inside the image, its loop inside its length.
struct SongHeader {
    std::uint32_t songLength = 0;    // orders played, at most 128
    std::uint32_t restart = 0;       // order to continue at when looping
    std::uint32_t patternCount = 1;  // 1 + the highest pattern among the played orders
    std::array<std::uint8_t, kOrderCount> orders{};
    std::array<SampleInfo, kSampleSlots> samples{};
};

// The periodTable row of a finetune byte: its low nibble is a signed number
// of eighths of a semitone, -8..7; the high nibble is unused.
std::uint32_t FinetuneRow(std::uint8_t stored);

// Reads the header of `size` bytes of image. Bytes the image lacks read as 0.
void ReadSongHeader(const std::uint8_t* image, std::size_t size, SongHeader& header);

// Where the first sample's data starts in an image with `patternCount` patterns.
constexpr std::size_t SampleDataOffset(std::uint32_t patternCount) {
    return kPatternsOffset + kPatternBytes * patternCount;
}
