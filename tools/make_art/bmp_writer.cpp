#include "bmp_writer.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Every colour of the picture: the named ones first, then the rest as met.
std::vector<std::uint32_t> paletteOf(const Picture& picture) {
    std::vector<std::uint32_t> palette;
    auto add = [&](std::uint32_t c) {
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
    };
    for (std::uint32_t c : picture.namedColours) add(c);
    for (std::uint32_t c : picture.rgb) add(c);
    return palette;
}

std::uint32_t indexIn(const std::vector<std::uint32_t>& palette, std::uint32_t colour) {
    return static_cast<std::uint32_t>(std::find(palette.begin(), palette.end(), colour) - palette.begin());
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Picture& picture) {
    const int bpp = picture.bitsPerPixel;
    std::vector<std::uint32_t> palette;
    if (bpp != 24) {
        palette = paletteOf(picture);
        const std::size_t room = std::size_t{1} << bpp;
        if (palette.size() > room)
            throw std::runtime_error("the picture has " + std::to_string(palette.size()) + " colours, but " +
                                     std::to_string(bpp) + "-bit holds only " + std::to_string(room));
        palette.resize(room, 0);
    }
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(picture.width) * bpp + 31) / 32 * 4;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
    const std::uint32_t pixelOffset =
        kFileHeaderBytes + kInfoHeaderBytes + static_cast<std::uint32_t>(palette.size()) * 4;

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + pixelBytes);
    put32(out, 0);
    put32(out, pixelOffset);

    put32(out, kInfoHeaderBytes);
    put32(out, static_cast<std::uint32_t>(picture.width));
    put32(out, static_cast<std::uint32_t>(picture.height));  // positive: bottom-up rows
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bpp));
    put32(out, 0);  // no compression
    put32(out, pixelBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, static_cast<std::uint32_t>(palette.size()));
    put32(out, 0);
    for (std::uint32_t c : palette) {
        out.push_back(static_cast<std::uint8_t>(c));        // blue
        out.push_back(static_cast<std::uint8_t>(c >> 8));   // green
        out.push_back(static_cast<std::uint8_t>(c >> 16));  // red
        out.push_back(0);
    }

    for (int y = picture.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t c = picture.rgb[static_cast<std::size_t>(y) * picture.width + x];
            if (bpp == 24) {
                row[3 * x] = static_cast<std::uint8_t>(c);
                row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
            } else if (bpp == 8) {
                row[x] = static_cast<std::uint8_t>(indexIn(palette, c));
            } else {  // 4-bit: the left pixel of each pair in the high nibble
                row[x / 2] |= static_cast<std::uint8_t>(indexIn(palette, c) << (x % 2 == 0 ? 4 : 0));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
