// STAND-IN: bitmap decoding arrives with the pictures.
#include "platform/platform.h"

namespace platform {

HBITMAP LoadBitmap(std::uint32_t) { return nullptr; }
bool GetBitmapSize(HBITMAP, int*, int*) { return false; }
bool CopyBitmapToSection(HBITMAP, int, int, int, int, std::uint8_t*, int, int) { return false; }
void DeleteBitmap(HBITMAP) {}

}  // namespace platform
