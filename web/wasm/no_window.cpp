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

}  // namespace platform::sdl
