#include "wav_file.h"

#include <fstream>

namespace {

void put16(std::ofstream& out, std::uint32_t v) {
    const char bytes[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

bool WriteWav(const std::string& path, const std::vector<std::uint8_t>& samples, std::uint32_t rate) {
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    const auto size = static_cast<std::uint32_t>(samples.size());
    out.write("RIFF", 4);
    put32(out, 36 + size);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // one channel
    put32(out, rate);
    put32(out, rate);  // bytes per second
    put16(out, 1);     // block alignment
    put16(out, 8);     // bits per sample
    out.write("data", 4);
    put32(out, size);
    out.write(reinterpret_cast<const char*>(samples.data()), static_cast<std::streamsize>(samples.size()));
    return static_cast<bool>(out);
}
