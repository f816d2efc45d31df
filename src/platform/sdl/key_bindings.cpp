#include "platform/sdl/key_bindings.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/input.h"
#include "platform/settings_store.h"

namespace platform::sdl {

namespace {

struct DefaultRow {
    const char* setting;
    int virtualKey;
    bool repeats;
    std::initializer_list<SDL_Keycode> keys;
};

// Every desktop key stands for a key the device already has; the arrows and
// the device's own keys first, then the desktop's conveniences. Up and Down
// do nothing in play but, as on the device, each press makes a pass.
// Desktop: a held pause key pauses once; it does not flicker between the modes.
// clang-format off
const DefaultRow kDefaults[] = {
    // setting            device key  repeats  keys
    {"key.left",          VK_LEFT,    true,    {SDLK_LEFT, SDLK_4, SDLK_KP_4, SDLK_F1}},
    {"key.right",         VK_RIGHT,   true,    {SDLK_RIGHT, SDLK_6, SDLK_KP_6, SDLK_F2}},
    {"key.fire",          VK_F9,      true,    {SDLK_SPACE, SDLK_5, SDLK_KP_5, SDLK_F8, SDLK_F9}},
    {"key.start",         VK_RETURN,  true,    {SDLK_RETURN, SDLK_KP_ENTER}},
    {"key.pause",         VK_F10,     false,   {SDLK_p, SDLK_F10}},
    {"key.volume-up",     VK_F6,      true,    {SDLK_PLUS, SDLK_EQUALS, SDLK_KP_PLUS, SDLK_F6}},
    {"key.volume-down",   VK_F7,      true,    {SDLK_MINUS, SDLK_KP_MINUS, SDLK_F7}},
    {"key.quit",          VK_ESCAPE,  true,    {SDLK_ESCAPE}},
    {"key.up",            VK_UP,      true,    {SDLK_UP}},
    {"key.down",          VK_DOWN,    true,    {SDLK_DOWN}},
};
// clang-format on

constexpr const char* kFirstNote =
    "Keys: each key.<action> line names the keys for one action by their SDL\n"
    "names (Left, Space, Return, Keypad 4, F9, P, ...), separated by commas;\n"
    "the comma key itself cannot be bound. A name that is not known leaves the\n"
    "action on its default keys. Full screen (F11, Alt+Enter) and the gamepad\n"
    "are fixed.\n"
    "The keys that move the cannon left.";

// clang-format off
const std::pair<const char*, const char*> kNotes[] = {
    {"key.left",        kFirstNote},
    {"key.right",       "The keys that move the cannon right."},
    {"key.fire",        "The keys that fire."},
    {"key.start",       "The keys that start a game on the title screen."},
    {"key.pause",       "The keys that pause and resume."},
    {"key.volume-up",   "The keys that raise the volume while held."},
    {"key.volume-down", "The keys that lower the volume while held."},
    {"key.quit",        "The keys that quit (the high score and the volume are saved)."},
    {"key.up",          "The device's up key (no use in play)."},
    {"key.down",        "The device's down key (no use in play)."},
};
// clang-format on

const char* noteFor(std::string_view setting) {
    for (const auto& [name, note] : kNotes)
        if (setting == name) return note;
    return "";
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The keys named in `text`, or nothing (said on stderr) when a name is unknown
// or none is given.
std::optional<std::vector<SDL_Keycode>> parseKeys(const ActionKeys& action, const std::string& text) {
    std::vector<SDL_Keycode> keys;
    std::string_view rest = text;
    for (;;) {
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

std::vector<ActionKeys> bindings = DefaultBindings();

}  // namespace

std::vector<ActionKeys> DefaultBindings() {
    std::vector<ActionKeys> actions;
    for (const DefaultRow& row : kDefaults) actions.push_back({row.setting, row.virtualKey, row.repeats, row.keys});
    return actions;
}

std::vector<ActionKeys> ReadBindings(SettingsStore& store) {
    std::vector<ActionKeys> actions = DefaultBindings();
    for (ActionKeys& action : actions) {
        const std::optional<std::string> text = store.value(action.setting);
        if (!text) {
            store.setValue(action.setting, KeyNames(action.keys), noteFor(action.setting));
            continue;
        }
        if (auto keys = parseKeys(action, *text)) action.keys = std::move(*keys);
    }
    return actions;
}

void LoadKeyBindings(SettingsStore& store) {
    store.load();
    UseBindings(ReadBindings(store));
}

void UseBindings(std::vector<ActionKeys> newBindings) { bindings = std::move(newBindings); }

const std::vector<ActionKeys>& CurrentBindings() { return bindings; }

std::string KeyNames(const std::vector<SDL_Keycode>& keys) {
    std::string text;
    for (SDL_Keycode key : keys) {
        if (!text.empty()) text += ", ";
        text += SDL_GetKeyName(key);
    }
    return text;
}

}  // namespace platform::sdl
