#include "wav_file.h"

#include <array>

namespace modplay {

namespace {

void PutLittle(std::uint8_t* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

bool WriteWave(std::FILE* out, const std::vector<std::uint8_t>& bytes, std::uint32_t rate, std::uint32_t channels) {
    const auto dataSize = static_cast<std::uint32_t>(bytes.size());
    std::array<std::uint8_t, 44> header{'R', 'I', 'F', 'F', 0, 0, 0,   0,   'W', 'A', 'V', 'E', 'f', 'm', 't',
                                        ' ', 16,  0,   0,   0, 1, 0,   0,   0,   0,   0,   0,   0,   0,   0,
                                        0,   0,   0,   0,   8, 0, 'd', 'a', 't', 'a', 0,   0,   0,   0};
    PutLittle(&header[4], 36 + dataSize + (dataSize & 1), 4);
    PutLittle(&header[22], channels, 2);
    PutLittle(&header[24], rate, 4);
    PutLittle(&header[28], rate * channels, 4);  // bytes per second
    PutLittle(&header[32], channels, 2);         // bytes per frame
    PutLittle(&header[40], dataSize, 4);
    bool ok = std::fwrite(header.data(), 1, header.size(), out) == header.size() &&
              std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (dataSize & 1) ok = ok && std::fputc(0, out) != EOF;  // chunks are padded to even sizes
    return std::fflush(out) == 0 && ok;
}

}  // namespace modplay
