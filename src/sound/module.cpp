#include "sound/module.h"

#include <cstdio>
#include <new>

#include "resources/resources.h"
#include "sound/resolve_path.h"

Module::~Module() { release(); }

int Module::loadFile(const char* name) {
    release();
    char path[kPathCapacity];
    if (name == nullptr || resolvePath(path, name) == 0) return 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 0;
    std::uint8_t* bytes = nullptr;
    long size = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size > 0 && std::fseek(file, 0, SEEK_SET) == 0)
        bytes = new (std::nothrow) std::uint8_t[static_cast<std::size_t>(size)];
    const bool read = bytes != nullptr &&
                      std::fread(bytes, 1, static_cast<std::size_t>(size), file) == static_cast<std::size_t>(size);
    std::fclose(file);
    if (!read) {
        delete[] bytes;
        return 0;
    }
    data_ = bytes;
    size_ = static_cast<std::size_t>(size);
    ownsData_ = true;
    return 1;
}

int Module::loadResource(void* /*module*/, std::uint32_t id) {
    release();
    const resources::ResourceBytes resource = resources::FindResource("PTMOD", id & 0xFFFF);
    if (resource.data == nullptr) return 0;
    data_ = resource.data;
    size_ = resource.size;
    ownsData_ = false;
    return 1;
}

void Module::release() {
    if (ownsData_ && data_ != nullptr) {
        delete[] data_;
        data_ = nullptr;
        size_ = 0;
    }
    ownsData_ = false;
}

void Module::useImage(const std::uint8_t* data, std::size_t size) {
    release();
    data_ = data;
    size_ = data != nullptr ? size : 0;
}

void Module::setVolume(int v) { volume_ = (v < 0 || v > 64) ? 64u : static_cast<std::uint32_t>(v); }
void Module::setSeparation(int s) { separation_ = (s < 0 || s > 255) ? 255u : static_cast<std::uint32_t>(s); }
