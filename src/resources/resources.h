// The program's resources: the pictures, sounds, icon and title compiled into
// the executable, found by type ("BITMAP", "ICON", "WAVE", "PTMOD",
// "STRING") and number. Needs nothing of the platform. Main thread only,
// unless a call says otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace resources {

struct ResourceBytes {
    const std::uint8_t* data = nullptr;  // null when the resource does not exist
    std::size_t size = 0;
};
ResourceBytes FindResource(const char* type, std::uint32_t id);

// From now on FindResource answers as if resource `type` `id` did not exist
// (the harness's --drop-resource).
void DropResource(const char* type, std::uint32_t id);

// Copies string resource `id` into `buffer` (at most bufferSize - 1 characters
// and a terminating zero); returns the number of characters copied, 0 when
// there is no such string.
int LoadString(std::uint32_t id, char* buffer, int bufferSize);

// A decoded bitmap resource: width x height red-green-blue triples, the top
// row first.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::unique_ptr<std::uint8_t, void (*)(void*)> rgb{nullptr, nullptr};
    const std::uint8_t* pixel(int x, int y) const { return rgb.get() + (static_cast<std::size_t>(y) * width + x) * 3; }
};
// Null when the resource is missing or cannot be decoded (4-, 8- and 24-bit BMP are read).
std::unique_ptr<Bitmap> LoadBitmap(std::uint32_t id);

}  // namespace resources
