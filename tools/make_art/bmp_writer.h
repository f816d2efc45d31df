// Uncompressed Windows BMP files: 4-bit and 8-bit with a palette, or 24-bit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture being drawn: width x height colours 0xRRGGBB, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;  // 4, 8 or 24
    std::vector<std::uint32_t> rgb;
    // Colours in the order the source names them; a palette lists these
    // first, so an index means the same colour from one run to the next.
    std::vector<std::uint32_t> namedColours;

    std::uint32_t& at(int x, int y) { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

// The bytes of a BMP file of the picture. Throws std::runtime_error when the
// picture uses more colours than its depth holds.
std::vector<std::uint8_t> EncodeBmp(const Picture& picture);
