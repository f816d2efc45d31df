// The settings file that orbitfend 1.0 wrote: JSON in the shape of a registry
// hive, read once so that no player loses a high score, then replaced by the
// plain text of settings_text.h.
//
//   {"version": 1, "HKEY_CURRENT_USER": {"Software\\quelm\\orbitfend": {
//       "HiScore": {"type": "REG_DWORD", "dword": 1230},
//       "Sound": {"type": "REG_DWORD", "dword": 16}}, ...}}
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// True when `text` looks like such a file rather than a plain one.
bool IsLegacySettings(std::string_view text);

// Reads the program's values from such a file under today's names
// ("high-score", "volume"), each as the signed 32-bit number that 1.0 meant
// by it, or as a description when it is not a 4-byte REG_DWORD. Values that
// are absent are left out. Returns false with the reason in `error` for text
// that is not such a file.
bool ReadLegacySettings(std::string_view text, std::vector<std::pair<std::string, std::string>>& values,
                        std::string& error);
