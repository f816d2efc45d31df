// PNG files of the frame: the desktop's screenshots and --screenshot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes width x height red-green-blue triples, the top row first, as a PNG
// file; false unless it was written in full, to the close of the file.
bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgb, int width, int height);
