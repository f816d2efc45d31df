#include "platform/sdl/key_bindings.h"

#include <utility>

namespace platform::sdl {

namespace {

// Desktop: a gamepad plays with the d-pad (or the left stick), A or B, Start
// for the action key, Back to pause, and the shoulder buttons for the volume.
// It has no back key: leaving stays on the keyboard and the window's close box.
// clang-format off
constexpr std::pair<SDL_GameControllerButton, int> kGamepad[] = {
    // button                             device key
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT,     VK_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT,    VK_RIGHT},
    {SDL_CONTROLLER_BUTTON_A,             VK_F9},
    {SDL_CONTROLLER_BUTTON_B,             VK_F9},
    {SDL_CONTROLLER_BUTTON_START,         VK_RETURN},
    {SDL_CONTROLLER_BUTTON_BACK,          VK_F10},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, VK_F6},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER,  VK_F7},
};
// clang-format on

std::vector<std::pair<SDL_Keycode, KeyBinding>> keyboard;  // in binding order

}  // namespace

bool IsKeyName(const std::string& name) { return SDL_GetKeyFromName(name.c_str()) != SDLK_UNKNOWN; }

void BindKeys(const std::vector<BoundKeys>& bindings) {
    keyboard.clear();
    for (const BoundKeys& bound : bindings)
        for (const std::string& name : bound.keyNames)
            keyboard.emplace_back(SDL_GetKeyFromName(name.c_str()), KeyBinding{bound.virtualKey, bound.repeats});
}

KeyBinding BindingForKey(SDL_Keycode key) {
    for (const auto& [bound, binding] : keyboard)
        if (bound == key) return binding;
    return {};
}

int VirtualKeyForButton(SDL_GameControllerButton button) {
    for (const auto& [bound, virtualKey] : kGamepad)
        if (bound == button) return virtualKey;
    return 0;
}

bool IsFullScreenToggle(SDL_Keycode key, Uint16 modifiers) {
    if (key == SDLK_F11) return true;
    return (key == SDLK_RETURN || key == SDLK_KP_ENTER) && (modifiers & KMOD_ALT) != 0;
}

}  // namespace platform::sdl
