// The program's actions and the desktop keys bound to them. The keyboard's
// bindings are kept in the settings file as "key.<action> = <key names>",
// with SDL's key names ("Left", "Space", "Keypad 4", "F9") separated by
// commas. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/settings_store.h"

// One action and the keys bound to it.
struct ActionKeys {
    const char* setting;            // the settings name, "key.fire"
    int virtualKey;                 // the device key it stands for
    bool repeats;                   // whether held-down auto-repeat posts key-downs too
    std::vector<std::string> keys;  // SDL's key names
};

// The actions with today's keys.
std::vector<ActionKeys> DefaultBindings();

// Reads each action's keys from `store` (loaded already). A name that SDL does
// not know is said on stderr and that action keeps its default keys. Actions
// the store lacks are given their defaults, with a note on how to change them,
// so that the next save writes them into the file.
std::vector<ActionKeys> ReadBindings(platform::SettingsStore& store);

// Makes `bindings` the ones the desktop's keyboard is read by.
void UseBindings(const std::vector<ActionKeys>& bindings);

// Loads `store` and uses the key bindings it holds; reports unknown key names
// on stderr.
void LoadKeyBindings(platform::SettingsStore& store);
