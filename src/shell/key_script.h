// The key script of a headless run (--keys): one event per line,
//   <ms> down <vk>    the key goes down (its state is set, a key-down event is queued)
//   <ms> up <vk>      the key goes up
//   <ms> deactivate   the program loses activation (a Deactivated event)
//   <ms> focus-lost   the window loses the keyboard (a FocusLost event)
//   <ms> focus-gained the window gets the keyboard back
// with times in virtual milliseconds, virtual-key codes in decimal, and '#'
// starting a comment.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/headless_backend.h"

// The largest key script read, in bytes; a larger one is refused unread.
constexpr std::size_t kKeyScriptLimit = 1 << 20;

// Parses a script; events come back in time order (stable for equal times).
// On a line that cannot be read returns false with `error` naming the line.
bool ParseKeyScript(std::string_view text, std::vector<platform::headless::KeyEvent>& events, std::string& error);

// Reads and parses the script at `path`; false with `error` naming the file
// when it cannot be read, is larger than kKeyScriptLimit, or does not parse.
bool LoadKeyScript(const std::string& path, std::vector<platform::headless::KeyEvent>& events, std::string& error);
