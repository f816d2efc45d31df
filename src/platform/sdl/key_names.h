// The desktop's keyboard by SDL's key names ("Left", "Space", "Keypad 4",
// "F9"), as the program binds it: no SDL in sight. Main thread only.
#pragma once

#include <string>
#include <vector>

namespace platform::sdl {

// One device key and the keyboard keys, by name, that stand for it.
struct BoundKeys {
    int virtualKey;
    bool repeats;  // whether held-down auto-repeat posts key-downs too
    std::vector<std::string> keyNames;
};

// Whether SDL knows a key by `name` (in any case).
bool IsKeyName(const std::string& name);

// Makes `bindings` the ones the keyboard is read by; the first that names a
// key gets it. Until then, no keyboard key means anything to the program.
void BindKeys(const std::vector<BoundKeys>& bindings);

}  // namespace platform::sdl
