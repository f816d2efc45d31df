// Desktop keys and gamepad buttons as the handheld's virtual keys: every one
// stands for a key the device already has. The keyboard's bindings are kept
// in the settings file as "key.<action> = <key names>", with SDL's key names
// ("Left", "Space", "Keypad 4", "F9") separated by commas. Main thread only.
#pragma once

#include <string>
#include <vector>

#include <SDL.h>

#include "platform/input.h"
#include "platform/sdl/load_key_bindings.h"
#include "platform/settings_store.h"

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

// The text a setting holds for `keys`: SDL's names, separated by ", ".
std::string KeyNames(const std::vector<SDL_Keycode>& keys);

struct KeyBinding {
    int virtualKey = 0;    // 0: the key means nothing to the program
    bool repeats = false;  // whether held-down auto-repeat posts key-downs too
};

// The virtual key of a keyboard key (SDL keycodes name the unshifted key) by
// the bindings in use; the first action that names a key gets it.
KeyBinding BindingForKey(SDL_Keycode key);

// The virtual key of a gamepad button, 0 for none. Buttons never repeat.
int VirtualKeyForButton(SDL_GameControllerButton button);

// Alt+Enter (either Enter) and F11 switch between a window and the whole
// screen; they reach the program as nothing else.
bool IsFullScreenToggle(SDL_Keycode key, Uint16 modifiers);

// The left stick held this far from its centre (of 32767) counts as the
// d-pad held that way.
constexpr int kStickThreshold = 16000;

}  // namespace platform::sdl
