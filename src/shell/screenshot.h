// Desktop screenshots: the frame as PNG files in the player's pictures
// folder, once at its own size and once at the window's scale. Main thread
// only.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// The folder screenshots go to: $XDG_PICTURES_DIR/orbitfend, else the
// pictures folder named in $XDG_CONFIG_HOME/user-dirs.dirs (or
// ~/.config/user-dirs.dirs), else ~/Pictures/orbitfend. Empty when there is
// no home either.
std::string ScreenshotDirectory();

// "orbitfend-YYYY-MM-DD_HH-MM-SS" for the local time `when`.
std::string ScreenshotStem(std::time_t when);

// Writes `rgb` (176 x 220 red-green-blue triples, the top row first) into
// `directory` (made when missing) as STEM.png and, when `scale` > 1, as
// STEM-xSCALE.png; a stem already taken gets "-2", "-3"... Returns the paths
// written, none with `error` saying what failed.
std::vector<std::string> WriteScreenshots(const std::string& directory, const std::string& stem,
                                          const std::vector<std::uint8_t>& rgb, int scale, std::string& error);

// Saves `rgb` (as above) under today's stem in ScreenshotDirectory() and says
// on stderr where it went, or what failed.
void SaveScreenshot(const std::vector<std::uint8_t>& rgb, int scale);
