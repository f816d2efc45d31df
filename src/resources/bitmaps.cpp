// Bitmap resources decoded into top-down 24-bit pixels.
#include <climits>

#include <stb/stb_image.h>

#include "resources/resources.h"

namespace resources {

std::unique_ptr<Bitmap> LoadBitmap(std::uint32_t id) {
    const ResourceBytes bytes = FindResource("BITMAP", id);
    if (bytes.data == nullptr || bytes.size == 0 || bytes.size > static_cast<std::size_t>(INT_MAX)) return nullptr;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(bytes.data, static_cast<int>(bytes.size), &width, &height, &channels, 3);
    if (rgb == nullptr) return nullptr;
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->rgb = {rgb, stbi_image_free};
    return bitmap;
}

}  // namespace resources
