// Importing the pictures at start-up, and freeing them at the end.
#pragma once

#include <cstdint>

// Nonzero on success (the back buffer has memory); the caller ignores it.
int StartDisplay();
void StopDisplay();

// Bitmap resources.
constexpr std::uint32_t kBackgroundBitmap = 104;
constexpr std::uint32_t kTitleBitmap = 113;
constexpr std::uint32_t kPausedBitmap = 117;
constexpr std::uint32_t kSpriteSheetBitmap = 121;
