// Desktop keys and gamepad buttons as the handheld's virtual keys: every one
// stands for a key the device already has. Main thread only.
#pragma once

#include <SDL.h>

#include "platform/input.h"
#include "platform/sdl/key_names.h"

namespace platform::sdl {

struct KeyBinding {
    int virtualKey = 0;    // 0: the key means nothing to the program
    bool repeats = false;  // whether held-down auto-repeat posts key-downs too
};

// The virtual key of a keyboard key (SDL keycodes name the unshifted key) by
// the bindings in use.
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
