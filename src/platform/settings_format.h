// The settings file's text: JSON that a person can read and edit.
//
//   {
//     "version": 1,
//     "HKEY_CURRENT_USER": {
//       "Software\\quelm\\orbitfend": {
//         "HiScore": { "type": "REG_DWORD", "dword": 1230 },
//         "Sound": { "type": "REG_DWORD", "dword": 16 }
//       },
//       "ControlPanel\\Sounds\\Keypress": {
//         "Script": { "type": "REG_SZ", "utf16": [99, 108, 105, 99, 107, 0], "text": "click" }
//       }
//     }
//   }
//
// A value holds exactly one of "dword" (a 4-byte REG_DWORD, as a number),
// "utf16" (a string type of whole code units, each a number, so embedded
// zeros and unpaired surrogates survive) or "bytes" (anything else, as
// lower-case hex). "text" is written beside "utf16" for the reader's eye
// only, up to the first zero unit, and is never read back.
#pragma once

#include <string>

#include "platform/settings_store.h"

namespace platform {

std::string SettingsToJson(const SettingsTree& keys);

// Fills `keys` from a file's text; on text that is not such a file returns
// false with the reason in `error` and leaves `keys` empty.
bool SettingsFromJson(const std::string& text, SettingsTree& keys, std::string& error);

}  // namespace platform
