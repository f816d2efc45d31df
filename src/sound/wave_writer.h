// Writing RIFF WAVE files of PCM: 8-bit unsigned or 16-bit signed
// little-endian, one or two channels. The header is written first with the
// data size the caller declares, so a stream that cannot seek (a pipe) gets a
// right header when that size is known; a seekable file whose data came out
// longer or shorter gets its sizes rewritten when it is finished.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace wave {

struct Format {
    std::uint32_t rate = 11025;  // frames per second
    std::uint16_t channels = 1;  // 1, or 2 interleaved left first
    std::uint16_t bits = 8;      // 8 (unsigned, 128 silent) or 16 (signed)

    std::uint32_t frameBytes() const { return channels * (bits / 8u); }
};

// RIFF wants every chunk padded to an even size. The game's sound files and
// its headless sound capture were always written without that byte, and keep
// their bytes.
enum class Padding { evenChunks, none };

constexpr std::size_t kHeaderBytes = 44;

// The most data bytes a file can hold: the RIFF size (36 + data + pad) is 32 bits.
constexpr std::uint64_t kLargestData = 0xFFFFFFFFull - 36 - 1;

// The 44-byte header of a file whose data chunk holds `dataBytes`.
std::array<std::uint8_t, kHeaderBytes> Header(const Format& format, std::uint32_t dataBytes,
                                              Padding padding = Padding::evenChunks);

// One file written front to back. Not thread-safe; the stream is the caller's
// to open and close.
class Writer {
public:
    // Writes the header to `out` at once, declaring `declaredBytes` of data.
    Writer(std::FILE* out, const Format& format, std::uint64_t declaredBytes = 0,
           Padding padding = Padding::evenChunks);

    bool write(const void* bytes, std::size_t count);
    // Pads the data chunk and, when the data written differs from the size
    // declared, seeks back and rewrites the header. False when any write,
    // the seek or the flush failed.
    bool finish();

    std::uint64_t dataBytes() const { return written_; }

private:
    std::FILE* out_;
    Format format_;
    Padding padding_;
    std::uint64_t declared_;
    std::uint64_t written_ = 0;
    bool ok_;
};

// The whole file at `path` from `data`. False when it cannot be written.
bool WriteFile(const std::string& path, const Format& format, const std::vector<std::uint8_t>& data,
               Padding padding = Padding::evenChunks);

}  // namespace wave
