#include "shell/key_bindings.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/input.h"
#include "platform/sdl/key_names.h"

using namespace platform;

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
    // setting           device key repeats keys
    {{"key.left",        VK_LEFT,   true,  {"Left", "4", "Keypad 4", "F1"}},        kFirstNote},
    {{"key.right",       VK_RIGHT,  true,  {"Right", "6", "Keypad 6", "F2"}},       "The keys that move the cannon right."},
    {{"key.fire",        VK_F9,     true,  {"Space", "5", "Keypad 5", "F8", "F9"}}, "The keys that fire."},
    {{"key.start",       VK_RETURN, true,  {"Return", "Keypad Enter"}},             "The keys that start a game on the title screen."},
    {{"key.pause",       VK_F10,    false, {"P", "F10"}},                           "The keys that pause and resume."},
    {{"key.volume-up",   VK_F6,     true,  {"+", "=", "Keypad +", "F6"}},           "The keys that raise the volume while held."},
    {{"key.volume-down", VK_F7,     true,  {"-", "Keypad -", "F7"}},                "The keys that lower the volume while held."},
    {{"key.quit",        VK_ESCAPE, true,  {"Escape"}},                             "The keys that quit (the high score and the volume are saved)."},
    {{"key.up",          VK_UP,     true,  {"Up"}},                                 "The device's up key (no use in play)."},
    {{"key.down",        VK_DOWN,   true,  {"Down"}},                               "The device's down key (no use in play)."},
};
// clang-format on

// The names in `keys`, separated by ", ".
std::string KeyNames(const std::vector<std::string>& keys) {
    std::string text;
    for (const std::string& key : keys) text += (text.empty() ? "" : ", ") + key;
    return text;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The keys named in `text`, or nothing (said on stderr) when a name is unknown
// or none is given.
std::optional<std::vector<std::string>> parseKeys(const ActionKeys& action, const std::string& text) {
    std::vector<std::string> keys;
    for (std::string_view rest = text;;) {
        const auto comma = rest.find(',');
        const std::string name{trimmed(rest.substr(0, comma))};
        if (name.empty() || !platform::sdl::IsKeyName(name)) {
            const std::string shown = name.empty() ? "an empty name" : "\"" + name + "\"";
            std::fprintf(stderr,
                         "orbitfend: the setting %s = %s has %s, which is not an SDL key name; %s keeps its default "
                         "keys (%s)\n",
                         action.setting, text.c_str(), shown.c_str(), action.setting, KeyNames(action.keys).c_str());
            return std::nullopt;
        }
        keys.push_back(name);
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

void UseBindings(const std::vector<ActionKeys>& bindings) {
    std::vector<platform::sdl::BoundKeys> bound;
    for (const ActionKeys& action : bindings) bound.push_back({action.virtualKey, action.repeats, action.keys});
    platform::sdl::BindKeys(bound);
}
