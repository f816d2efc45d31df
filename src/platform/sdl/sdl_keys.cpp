#include "platform/sdl/sdl_keys.h"

#include "platform/input.h"
#include "platform/sdl/key_bindings.h"

namespace platform::sdl {

namespace {

// Desktop: a gamepad plays with the d-pad (or the left stick), A or B, Start
// for the action key, Back to pause, and the shoulder buttons for the volume.
// It has no back key: leaving stays on the keyboard and the window's close box.
struct ButtonRow {
    SDL_GameControllerButton button;
    int virtualKey;
};
// clang-format off
constexpr ButtonRow kGamepad[] = {
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

}  // namespace

KeyBinding BindingForKey(SDL_Keycode key) {
    // The first action that names a key gets it.
    for (const ActionKeys& action : CurrentBindings())
        for (SDL_Keycode bound : action.keys)
            if (bound == key) return {action.virtualKey, action.repeats};
    return {};
}

int VirtualKeyForButton(SDL_GameControllerButton button) {
    for (const ButtonRow& row : kGamepad)
        if (row.button == button) return row.virtualKey;
    return 0;
}

bool IsFullScreenToggle(SDL_Keycode key, Uint16 modifiers) {
    if (key == SDLK_F11) return true;
    return (key == SDLK_RETURN || key == SDLK_KP_ENTER) && (modifiers & KMOD_ALT) != 0;
}

}  // namespace platform::sdl
