// STAND-IN: the desktop window arrives with the SDL backend.
#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {

namespace {

class SdlBackend final : public Backend {
public:
    bool open(std::string& error) override {
        error = "the desktop backend is not built yet; use --headless";
        return false;
    }
    std::uint32_t tickCount() override { return 0; }
    void sleep(std::uint32_t) override {}
    std::int16_t keyState(int) override { return 0; }
    void waitForInput(std::uint32_t) override {}
    bool findRunningInstance(const char*, const char*) override { return false; }
    bool createWindow(const char*, std::uint32_t) override { return false; }
    void* beginDraw() override { return nullptr; }
    int endDraw() override { return 0; }
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() { return std::make_unique<SdlBackend>(); }

}  // namespace platform::sdl
