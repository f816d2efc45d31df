// The WebAssembly build has no window system: only --headless runs.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {

std::unique_ptr<Backend> OpenSdlBackend(std::string&) {
    std::fputs("orbitfend: this build has no window; run it with --headless\n", stderr);
    std::exit(2);
}

// Never reached: the program ends above before it asks for a device.
std::unique_ptr<AudioOut> MakeSdlAudioOut(std::string, std::string) { return nullptr; }

// A headless run reads no key bindings; the desktop alone has a keyboard to bind.
void LoadKeyBindings(SettingsStore&) {}

}  // namespace platform::sdl
