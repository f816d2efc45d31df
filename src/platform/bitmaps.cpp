// Bitmap resources decoded into 24-bit pixels, and the copy of a rectangle of
// one into a bottom-up 24-bit section, as the platform's graphics device
// interface would make it.
#include <algorithm>
#include <climits>
#include <new>

#include <stb/stb_image.h>

#include "platform/platform.h"

namespace platform {

struct Bitmap {
    int width = 0;
    int height = 0;
    stbi_uc* rgb = nullptr;  // width x height red-green-blue triples, top row first; from stb_image
};

HBITMAP LoadBitmap(std::uint32_t id) {
    const ResourceBytes bytes = FindResource("BITMAP", id);
    if (bytes.data == nullptr || bytes.size == 0 || bytes.size > static_cast<std::size_t>(INT_MAX)) return nullptr;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgb = stbi_load_from_memory(bytes.data, static_cast<int>(bytes.size), &width, &height, &channels, 3);
    if (rgb == nullptr) return nullptr;
    Bitmap* bitmap = new (std::nothrow) Bitmap{width, height, rgb};
    if (bitmap == nullptr) stbi_image_free(rgb);
    return bitmap;
}

bool GetBitmapSize(HBITMAP bitmap, int* width, int* height) {
    if (bitmap == nullptr || width == nullptr || height == nullptr) return false;
    *width = bitmap->width;
    *height = bitmap->height;
    return true;
}

bool CopyBitmapToSection(HBITMAP bitmap, int sx, int sy, int w, int h, std::uint8_t* sectionBits, int sectionWidth,
                         int sectionHeight) {
    if (bitmap == nullptr || sectionBits == nullptr || sectionWidth < 1 || sectionHeight < 1) return false;
    // Section pixel (i, j) receives bitmap pixel (sx + i, sy + j); keep the i
    // and j for which both lie inside their pictures. 64-bit, so that no
    // rectangle argument can overflow the comparison.
    const long long firstColumn = std::max(0LL, -static_cast<long long>(sx));
    const long long firstRow = std::max(0LL, -static_cast<long long>(sy));
    const long long endColumn = std::min(
        {static_cast<long long>(w), static_cast<long long>(sectionWidth), static_cast<long long>(bitmap->width) - sx});
    const long long endRow = std::min({static_cast<long long>(h), static_cast<long long>(sectionHeight),
                                       static_cast<long long>(bitmap->height) - sy});

    const std::size_t sectionRowBytes = static_cast<std::size_t>(sectionWidth) * 3;
    for (long long j = firstRow; j < endRow; ++j) {
        const stbi_uc* from = bitmap->rgb + ((sy + j) * bitmap->width + sx + firstColumn) * 3;
        std::uint8_t* to = sectionBits + static_cast<std::size_t>(sectionHeight - 1 - j) * sectionRowBytes +
                           static_cast<std::size_t>(firstColumn) * 3;
        for (long long i = firstColumn; i < endColumn; ++i, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return true;
}

void DeleteBitmap(HBITMAP bitmap) {
    if (bitmap == nullptr) return;
    stbi_image_free(bitmap->rgb);
    delete bitmap;
}

}  // namespace platform
