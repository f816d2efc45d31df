// The keyboard's bindings: which desktop keys stand for each of the game's
// actions, kept in the settings file as "key.<action> = <key names>" with
// SDL's key names ("Left", "Space", "Keypad 4", "F9"), separated by commas.
// Main thread only.
#pragma once

#include <string>
#include <vector>

#include <SDL.h>

#include "platform/sdl/load_key_bindings.h"

namespace platform {
class SettingsStore;
}

namespace platform::sdl {

// One action and the keys bound to it.
struct ActionKeys {
    const char* setting;  // the settings name, "key.fire"
    int virtualKey;       // the device key it stands for
    bool repeats;         // whether held-down auto-repeat posts key-downs too
    std::vector<SDL_Keycode> keys;
};

// The actions with today's keys.
std::vector<ActionKeys> DefaultBindings();

// Reads each action's keys from `store` (loaded already). A name that SDL does
// not know is said on stderr and that action keeps its default keys. Actions
// the store lacks are given their defaults, with a note on how to change them,
// so that the next save writes them into the file.
std::vector<ActionKeys> ReadBindings(SettingsStore& store);

// Makes `bindings` the ones BindingForKey answers from (DefaultBindings until then).
void UseBindings(std::vector<ActionKeys> bindings);
const std::vector<ActionKeys>& CurrentBindings();

// The text a setting holds for `keys`: SDL's names, separated by ", ".
std::string KeyNames(const std::vector<SDL_Keycode>& keys);

}  // namespace platform::sdl
