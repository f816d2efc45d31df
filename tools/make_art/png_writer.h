// PNG files of the pictures, for the desktop icons the install puts in the
// icon theme.
#pragma once

#include <cstdint>
#include <vector>

#include "bmp_writer.h"

// The picture enlarged `factor` times each way, every pixel becoming a
// factor x factor block, so the pixel art stays sharp at icon sizes.
// factor must be at least 1.
Picture Enlarged(const Picture& picture, int factor);

// The bytes of an opaque 8-bit RGB PNG file of the picture. Throws
// std::runtime_error if the encoder fails.
std::vector<std::uint8_t> EncodePng(const Picture& picture);
