// Loading samples from RIFF WAVE files (copied and owned) and from "WAVE"
// resources (used in place).
#include "sound/sample.h"

#include <cstdio>
#include <new>

#include "resources/resources.h"
#include "sound/resolve_path.h"
#include "sound/wave_image.h"

namespace {

using wave::kChunkHeaderSize;
using wave::kFormatBodySize;

bool readExactly(std::FILE* file, std::uint8_t* into, std::size_t bytes) {
    return std::fread(into, 1, bytes, file) == bytes;
}

// The file's size, with the position left where it was; -1 when unknown.
long fileSize(std::FILE* file) {
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0) return -1;
    return size;
}

// Reads chunk headers from the file's position until the "data" chunk's;
// its size is returned in `dataSize`, the position left on its first byte.
bool findDataChunk(std::FILE* file, std::uint32_t* dataSize) {
    std::uint8_t header[kChunkHeaderSize];
    if (!readExactly(file, header, sizeof header)) return false;
    while (!wave::IsChunk(header, "data")) {
        if (std::fseek(file, static_cast<long>(wave::ReadU32(header + 4)), SEEK_CUR) != 0) return false;
        if (!readExactly(file, header, sizeof header)) return false;
    }
    *dataSize = wave::ReadU32(header + 4);
    return true;
}

}  // namespace

Sample::~Sample() { release(); }

void Sample::release() {
    if (ownsData_ && data_ != nullptr) {
        delete[] data_;
        data_ = nullptr;
        ownsData_ = false;
    }
}

int Sample::loadFile(const char* name) {
    release();
    char path[kPathCapacity];
    if (resolvePath(path, name) == 0) return 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 0;
    const int loaded = loadOpenFile(file);
    std::fclose(file);
    return loaded;
}

int Sample::loadOpenFile(std::FILE* file) {
    std::uint8_t format[kChunkHeaderSize + kFormatBodySize];
    if (std::fseek(file, wave::kFormatChunkAt, SEEK_SET) != 0) return 0;
    if (!readExactly(file, format, sizeof format) || !wave::IsChunk(format, "fmt ")) return 0;
    const std::uint32_t rate = wave::PlayableRate(format + kChunkHeaderSize);
    if (rate == 0) return 0;
    const std::uint32_t formatSize = wave::ReadU32(format + 4);
    // FIX: a format chunk too short for its body is refused.
    if (formatSize < kFormatBodySize) return 0;
    if (formatSize > kFormatBodySize &&
        std::fseek(file, static_cast<long>(formatSize - kFormatBodySize), SEEK_CUR) != 0)
        return 0;

    std::uint32_t length = 0;
    if (!findDataChunk(file, &length)) return 0;
    // FIX: a data chunk that claims more bytes than the file holds fails
    // before anything is allocated for it, as does one too long to play.
    const long here = std::ftell(file), size = fileSize(file);
    if (here < 0 || size < here || static_cast<unsigned long>(size - here) < length) return 0;
    if (length > wave::kMaxSampleBytes) return 0;

    auto* bytes = new (std::nothrow) std::uint8_t[length == 0 ? 1 : length];
    if (bytes == nullptr) return 0;
    if (!readExactly(file, bytes, length)) {
        delete[] bytes;
        return 0;
    }
    data_ = bytes;
    ownsData_ = true;
    rate_ = rate;
    length_ = length;
    return 1;
}

int Sample::loadResource(void* /*module*/, std::uint32_t id) {
    release();
    const resources::ResourceBytes resource = resources::FindResource("WAVE", id & 0xFFFF);
    return loadImage(resource.data, resource.size);
}

int Sample::loadImage(const std::uint8_t* bytes, std::size_t size) {
    release();
    wave::Image image;
    if (!wave::ParseImage(bytes, size, &image)) return 0;
    data_ = bytes + image.dataOffset;
    ownsData_ = false;
    rate_ = image.rate;
    length_ = image.length;
    return 1;
}

void Sample::setVolume(int v) { volume_ = (v < 0 || v > 64) ? 64u : static_cast<std::uint32_t>(v); }
void Sample::setPan(int p) { pan_ = (p < 0 || p > 255) ? 255u : static_cast<std::uint32_t>(p); }
