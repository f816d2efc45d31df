// The WebAssembly build has no window system: only --headless runs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {

std::unique_ptr<Backend> OpenSdlBackend(std::string&, const WindowSetup&, DesktopHooks) {
    std::fputs("orbitfend: this build has no window; run it with --headless\n", stderr);
    std::exit(2);
}

// Never reached: the program ends above before it asks for a device.
std::unique_ptr<AudioOut> MakeSdlAudioOut(std::string, std::string) { return nullptr; }

// A headless run reads no key bindings; the desktop alone has a keyboard to bind.
bool IsKeyName(const std::string&) { return true; }
void BindKeys(const std::vector<BoundKeys>&) {}

}  // namespace platform::sdl

// No window, so no screenshot key: the shell's screenshots need <filesystem>,
// which this libc++ lacks.
void SaveScreenshot(const std::vector<std::uint8_t>&, int) {}
