#include "shell/png_file.h"

#include <cstdio>

#include <stb/stb_image_write.h>

bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgb, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const auto append = [](void* to, void* data, int size) {
        std::fwrite(data, 1, static_cast<std::size_t>(size), static_cast<std::FILE*>(to));
    };
    const bool encoded = stbi_write_png_to_func(append, file, width, height, 3, rgb.data(), width * 3) != 0;
    const bool written = encoded && std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}
