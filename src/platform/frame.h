// The frame family: the 176 x 220 frame buffer in one of its memory layouts
// and pixel formats, and presenting it. Main thread only.
#pragma once

#include <cstdint>

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

// Pixels from pixel (0, 0) to the lowest (<= 0) and highest (>= 0) addressed pixel.
struct FrameSpan {
    std::int32_t lowOffset = 0;
    std::int32_t highOffset = 0;
    std::int32_t pixelCount() const { return highOffset - lowOffset + 1; }
};
FrameSpan SpanOf(const FrameGeometry& geometry);

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

void SetActiveFrame(Frame* frame);  // null: the null frame (the options' geometry, no pixels)
Frame& ActiveFrame();

}  // namespace platform
