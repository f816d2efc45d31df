#include "platform/sdl/key_bindings.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace platform::sdl {

namespace {

constexpr const char* kFirstNote =
    "Keys: each key.<action> line names the keys for one action by their SDL\n"
    "names (Left, Space, Return, Keypad 4, F9, P, ...), separated by commas;\n"
    "the comma key itself cannot be bound. A name that is not known leaves the\n"
    "action on its default keys. Full screen (F11, Alt+Enter) and the gamepad\n"
    "are fixed.\n"
    "The keys that move the cannon left.";

struct DefaultRow {
    ActionKeys action;
    const char* note;  // written above the action's line in the settings file
};

// Every desktop key stands for a key the device already has; the arrows and
// the device's own keys first, then the desktop's conveniences. Up and Down
// do nothing in play but, as on the device, each press makes a pass.
// Desktop: a held pause key pauses once; it does not flicker between the modes.
// clang-format off
const DefaultRow kDefaults[] = {
    // setting              device key  repeats  keys
    {{"key.left",           VK_LEFT,    true,    {SDLK_LEFT, SDLK_4, SDLK_KP_4, SDLK_F1}},              kFirstNote},
    {{"key.right",          VK_RIGHT,   true,    {SDLK_RIGHT, SDLK_6, SDLK_KP_6, SDLK_F2}},             "The keys that move the cannon right."},
    {{"key.fire",           VK_F9,      true,    {SDLK_SPACE, SDLK_5, SDLK_KP_5, SDLK_F8, SDLK_F9}},    "The keys that fire."},
    {{"key.start",          VK_RETURN,  true,    {SDLK_RETURN, SDLK_KP_ENTER}},                         "The keys that start a game on the title screen."},
    {{"key.pause",          VK_F10,     false,   {SDLK_p, SDLK_F10}},                                   "The keys that pause and resume."},
    {{"key.volume-up",      VK_F6,      true,    {SDLK_PLUS, SDLK_EQUALS, SDLK_KP_PLUS, SDLK_F6}},      "The keys that raise the volume while held."},
    {{"key.volume-down",    VK_F7,      true,    {SDLK_MINUS, SDLK_KP_MINUS, SDLK_F7}},                 "The keys that lower the volume while held."},
    {{"key.quit",           VK_ESCAPE,  true,    {SDLK_ESCAPE}},                                        "The keys that quit (the high score and the volume are saved)."},
    {{"key.up",             VK_UP,      true,    {SDLK_UP}},                                            "The device's up key (no use in play)."},
    {{"key.down",           VK_DOWN,    true,    {SDLK_DOWN}},                                          "The device's down key (no use in play)."},
};

// Desktop: a gamepad plays with the d-pad (or the left stick), A or B, Start
// for the action key, Back to pause, and the shoulder buttons for the volume.
// It has no back key: leaving stays on the keyboard and the window's close box.
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

std::vector<ActionKeys> bindings = DefaultBindings();

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The keys named in `text`, or nothing (said on stderr) when a name is unknown
// or none is given.
std::optional<std::vector<SDL_Keycode>> parseKeys(const ActionKeys& action, const std::string& text) {
    std::vector<SDL_Keycode> keys;
    for (std::string_view rest = text;;) {
        const auto comma = rest.find(',');
        const std::string name{trimmed(rest.substr(0, comma))};
        const SDL_Keycode key = name.empty() ? SDLK_UNKNOWN : SDL_GetKeyFromName(name.c_str());
        if (key == SDLK_UNKNOWN) {
            const std::string shown = name.empty() ? "an empty name" : "\"" + name + "\"";
            std::fprintf(stderr,
                         "orbitfend: the setting %s = %s has %s, which is not an SDL key name; %s keeps its default "
                         "keys (%s)\n",
                         action.setting, text.c_str(), shown.c_str(), action.setting, KeyNames(action.keys).c_str());
            return std::nullopt;
        }
        keys.push_back(key);
        if (comma == std::string_view::npos) return keys;
        rest.remove_prefix(comma + 1);
    }
}

}  // namespace

std::vector<ActionKeys> DefaultBindings() {
    std::vector<ActionKeys> actions;
    for (const DefaultRow& row : kDefaults) actions.push_back(row.action);
    return actions;
}

std::vector<ActionKeys> ReadBindings(SettingsStore& store) {
    std::vector<ActionKeys> actions = DefaultBindings();
    for (std::size_t i = 0; i < actions.size(); ++i) {
        ActionKeys& action = actions[i];
        if (const std::optional<std::string> text = store.value(action.setting)) {
            if (auto keys = parseKeys(action, *text)) action.keys = std::move(*keys);
        } else {
            store.setValue(action.setting, KeyNames(action.keys), kDefaults[i].note);
        }
    }
    return actions;
}

void LoadKeyBindings(SettingsStore& store) {
    store.load();
    UseBindings(ReadBindings(store));
}

void UseBindings(std::vector<ActionKeys> newBindings) { bindings = std::move(newBindings); }

std::string KeyNames(const std::vector<SDL_Keycode>& keys) {
    std::string text;
    for (SDL_Keycode key : keys) text += (text.empty() ? "" : ", ") + std::string(SDL_GetKeyName(key));
    return text;
}

KeyBinding BindingForKey(SDL_Keycode key) {
    for (const ActionKeys& action : bindings)
        for (SDL_Keycode bound : action.keys)
            if (bound == key) return {action.virtualKey, action.repeats};
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
