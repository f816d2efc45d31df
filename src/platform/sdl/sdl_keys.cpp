#include "platform/sdl/sdl_keys.h"

#include "platform/input.h"

namespace platform::sdl {

namespace {

struct KeyRow {
    SDL_Keycode key;
    int virtualKey;
    bool repeats;
};

// The device's own keys first, then the desktop's conveniences.
// clang-format off
constexpr KeyRow kKeyboard[] = {
    // keyboard          device key  repeats
    {SDLK_LEFT,          VK_LEFT,    true},
    {SDLK_UP,            VK_UP,      true},
    {SDLK_RIGHT,         VK_RIGHT,   true},
    {SDLK_DOWN,          VK_DOWN,    true},
    {SDLK_RETURN,        VK_RETURN,  true},
    {SDLK_KP_ENTER,      VK_RETURN,  true},
    {SDLK_ESCAPE,        VK_ESCAPE,  true},
    {SDLK_F1,            VK_F1,      true},
    {SDLK_F2,            VK_F2,      true},
    {SDLK_F6,            VK_F6,      true},
    {SDLK_F7,            VK_F7,      true},
    {SDLK_F8,            VK_F8,      true},
    {SDLK_F9,            VK_F9,      true},
    {SDLK_F10,           VK_F10,     true},
    {SDLK_4,             VK_4,       true},
    {SDLK_5,             VK_5,       true},
    {SDLK_6,             VK_6,       true},
    {SDLK_KP_4,          VK_4,       true},
    {SDLK_KP_5,          VK_5,       true},
    {SDLK_KP_6,          VK_6,       true},
    // Desktop: Space fires, P pauses, + and - set the volume.
    {SDLK_SPACE,         VK_F9,      true},
    // Desktop: holding P pauses once; it does not flicker between the modes.
    {SDLK_p,             VK_F10,     false},
    {SDLK_PLUS,          VK_F6,      true},
    {SDLK_EQUALS,        VK_F6,      true},
    {SDLK_KP_PLUS,       VK_F6,      true},
    {SDLK_MINUS,         VK_F7,      true},
    {SDLK_KP_MINUS,      VK_F7,      true},
};
// clang-format on

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
    for (const KeyRow& row : kKeyboard)
        if (row.key == key) return {row.virtualKey, row.repeats};
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
