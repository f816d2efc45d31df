// The desktop's key bindings as the entry sees them: no SDL in sight.
#pragma once

namespace platform {
class SettingsStore;
}

namespace platform::sdl {

// Loads `store` and makes the key bindings it holds (key_bindings.h) the
// ones in use; reports unknown key names on stderr. Main thread only.
void LoadKeyBindings(SettingsStore& store);

}  // namespace platform::sdl
