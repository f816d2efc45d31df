#include "sound/wave_writer.h"

#include <algorithm>

namespace wave {

namespace {

void PutLittle(std::uint8_t* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Clamped(std::uint64_t bytes) { return static_cast<std::uint32_t>(std::min(bytes, kLargestData)); }

}  // namespace

std::array<std::uint8_t, kHeaderBytes> Header(const Format& format, std::uint32_t dataBytes, Padding padding) {
    // clang-format off
    std::array<std::uint8_t, kHeaderBytes> header{
        'R', 'I', 'F', 'F',  0, 0, 0, 0,  'W', 'A', 'V', 'E',
        'f', 'm', 't', ' ',  16, 0, 0, 0,  1, 0,  0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0,  0, 0,
        'd', 'a', 't', 'a',  0, 0, 0, 0};
    // clang-format on
    const std::uint32_t pad = padding == Padding::evenChunks ? (dataBytes & 1) : 0;
    PutLittle(&header[4], 36 + dataBytes + pad, 4);
    PutLittle(&header[22], format.channels, 2);
    PutLittle(&header[24], format.rate, 4);
    PutLittle(&header[28], format.rate * format.frameBytes(), 4);  // bytes per second
    PutLittle(&header[32], format.frameBytes(), 2);
    PutLittle(&header[34], format.bits, 2);
    PutLittle(&header[40], dataBytes, 4);
    return header;
}

Writer::Writer(std::FILE* out, const Format& format, std::uint64_t declaredBytes, Padding padding)
    : out_(out), format_(format), padding_(padding), declared_(declaredBytes) {
    const auto header = Header(format_, Clamped(declared_), padding_);
    ok_ = out_ != nullptr && std::fwrite(header.data(), 1, header.size(), out_) == header.size();
}

bool Writer::write(const void* bytes, std::size_t count) {
    ok_ = ok_ && std::fwrite(bytes, 1, count, out_) == count;
    written_ += count;
    return ok_;
}

bool Writer::finish() {
    if (!ok_) return false;
    if (padding_ == Padding::evenChunks && (written_ & 1) != 0) ok_ = std::fputc(0, out_) != EOF;
    if (ok_ && written_ != declared_) {
        const auto header = Header(format_, Clamped(written_), padding_);
        ok_ = std::fseek(out_, 0, SEEK_SET) == 0 && std::fwrite(header.data(), 1, header.size(), out_) == header.size();
        std::fseek(out_, 0, SEEK_END);
    }
    return std::fflush(out_) == 0 && ok_;
}

bool WriteFile(const std::string& path, const Format& format, const std::vector<std::uint8_t>& data, Padding padding) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    Writer writer(out, format, data.size(), padding);
    const bool written = writer.write(data.data(), data.size()) && writer.finish();
    return std::fclose(out) == 0 && written;
}

}  // namespace wave
