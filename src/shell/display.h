// Opening the display and importing the pictures at start-up; closing it and
// freeing them at the end.
#pragma once

#include "platform/platform.h"

// Nonzero on success (the back buffer has memory); the caller ignores it.
int StartDisplay(platform::HWND window);
void StopDisplay();

// Bitmap resources.
constexpr std::uint32_t kBackgroundBitmap = 104;
constexpr std::uint32_t kTitleBitmap = 113;
constexpr std::uint32_t kPausedBitmap = 117;
constexpr std::uint32_t kSpriteSheetBitmap = 121;
