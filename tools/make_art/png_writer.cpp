#include "png_writer.h"

#include <stb_image_write.h>

#include <stdexcept>

Picture Enlarged(const Picture& picture, int factor) {
    Picture big = picture;
    big.width = picture.width * factor;
    big.height = picture.height * factor;
    big.rgb.assign(static_cast<std::size_t>(big.width) * big.height, 0);
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x)
            big.at(x, y) = picture.rgb[static_cast<std::size_t>(y / factor) * picture.width + x / factor];
    return big;
}

std::vector<std::uint8_t> EncodePng(const Picture& picture) {
    std::vector<std::uint8_t> pixels;
    pixels.reserve(picture.rgb.size() * 3);
    for (std::uint32_t c : picture.rgb) {
        pixels.push_back(static_cast<std::uint8_t>(c >> 16));
        pixels.push_back(static_cast<std::uint8_t>(c >> 8));
        pixels.push_back(static_cast<std::uint8_t>(c));
    }
    std::vector<std::uint8_t> out;
    auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<std::uint8_t*>(data);
        static_cast<std::vector<std::uint8_t>*>(context)->insert(
            static_cast<std::vector<std::uint8_t>*>(context)->end(), bytes, bytes + size);
    };
    if (!stbi_write_png_to_func(append, &out, picture.width, picture.height, 3, pixels.data(), picture.width * 3))
        throw std::runtime_error("the PNG encoder failed");
    return out;
}
