// The frame family: the 176 x 220 frame buffer in one of its memory layouts
// and pixel formats, and presenting it. Main thread only.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

constexpr int kScreenWidth = 176;
constexpr int kScreenHeight = 220;

enum class FrameLayout {
    Normal,  // rows top to bottom, each left to right
    Rot90,   // the panel is mounted sideways: x runs against memory
    FlipY,   // rows stored bottom-up
};

// 16-bit pixel formats; the values are flags a Surface keeps.
constexpr std::uint32_t kFormat555 = 0x40;
constexpr std::uint32_t kFormat565 = 0x80;

struct FrameGeometry {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::int32_t xPitch = 0;  // bytes from a pixel to its right-hand neighbour
    std::int32_t yPitch = 0;  // bytes from a pixel to the one below it
    std::int32_t bitsPerPixel = 0;
    std::uint32_t format = 0;  // kFormat555 or kFormat565
};

FrameGeometry GeometryFor(FrameLayout layout, std::uint32_t format);

class Frame {
public:
    virtual ~Frame() = default;
    virtual FrameGeometry geometry() = 0;
    // The address of pixel (0, 0), valid for the life of the frame; null
    // when there is no frame buffer.
    virtual std::uint16_t* pixels() = 0;
    // The frame buffer holds a finished frame. `changed` is false when it
    // holds what the previous present showed.
    virtual void present(bool changed) = 0;
};

void SetActiveFrame(Frame* frame);  // null: the null frame (the normal layout at 5-6-5, no pixels)
Frame& ActiveFrame();

// A frame buffer in memory: pixel (0, 0) lies wherever the layout puts it.
class FrameMemory {
public:
    explicit FrameMemory(const FrameGeometry& geometry);
    const FrameGeometry& geometry() const { return geometry_; }
    std::uint16_t* origin() { return origin_; }
    // The frame as 176 x 220 red-green-blue triples, the top row first.
    std::vector<std::uint8_t> rgb() const;

private:
    FrameGeometry geometry_;
    std::vector<std::uint16_t> pixels_;
    std::uint16_t* origin_ = nullptr;
};

// The 8-bit red, green and blue of one native pixel. In the 5-6-5 layout the
// lowest green bit is never set by the program, so green is read as five bits
// there too, and both layouts give the same colours.
inline void NativeToRgb(std::uint16_t pixel, std::uint32_t format, std::uint8_t* rgb) {
    unsigned r = 0, g = 0, b = 0;
    if (format & kFormat565) {
        r = (pixel >> 11) & 31;
        g = (pixel >> 6) & 31;
        b = pixel & 31;
    } else if (format & kFormat555) {
        r = (pixel >> 10) & 31;
        g = (pixel >> 5) & 31;
        b = pixel & 31;
    }
    rgb[0] = static_cast<std::uint8_t>(r << 3 | r >> 2);
    rgb[1] = static_cast<std::uint8_t>(g << 3 | g >> 2);
    rgb[2] = static_cast<std::uint8_t>(b << 3 | b >> 2);
}

}  // namespace platform
