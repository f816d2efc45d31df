// Surfaces and Images for graphics tests. No backend runs in these tests: the
// Surfaces read their geometry from UseDisplay's frame, and nothing is presented.
#pragma once

#include <vector>

#include "graphics/pixel_format.h"
#include "graphics/surface.h"
#include "platform/frame.h"
#include "resources/resources.h"
#include "shell/globals.h"

namespace graphics_testing {

// Makes Surfaces built from now on take this layout and pixel format, from a
// frame of that shape without pixels.
inline void UseDisplay(platform::FrameLayout layout, std::uint32_t format = platform::kFormat565) {
    struct ShapeOnly final : platform::Frame {
        platform::FrameGeometry shape;
        platform::FrameGeometry geometry() override { return shape; }
        std::uint16_t* pixels() override { return nullptr; }
        void present(bool) override {}
    };
    static ShapeOnly frame;
    frame.shape = platform::GeometryFor(layout, format);
    platform::SetActiveFrame(&frame);
}

inline NativePixel& PixelAt(Surface& surface, std::int32_t x, std::int32_t y) {
    return surface.pixels[x * surface.xStep + y * surface.yStep];
}

inline void Fill(Surface& surface, NativePixel value) {
    for (std::uint32_t y = 0; y < surface.height; ++y)
        for (std::uint32_t x = 0; x < surface.width; ++x) PixelAt(surface, x, y) = value;
}

// An Image over pixels the test owns.
struct TestImage {
    TestImage(std::int32_t width, std::int32_t height) : pixels(static_cast<std::size_t>(width * height)) {
        image.width = width;
        image.height = height;
        image.pixels = pixels.data();
    }
    NativePixel& at(std::int32_t x, std::int32_t y) { return pixels[static_cast<std::size_t>(y * image.width + x)]; }
    std::vector<NativePixel> pixels;
    Image image;
};

// The whole of bitmap `id`, as an Image for `target`.
inline Image* ImportBitmap(std::uint32_t id, const Surface& target) {
    return ImageFromBitmap(target, resources::LoadBitmap(id).get(), -1, -1, 0, 0);
}

constexpr std::uint32_t kSpriteSheet = 121;
constexpr NativePixel kUntouched = 0x1234;  // a value no picture uses

}  // namespace graphics_testing
