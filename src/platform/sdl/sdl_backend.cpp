// The desktop backend: SDL's clock, events, window and gamepads beneath the
// platform calls, and the one-copy-per-user check.
#include "platform/sdl/sdl_backend.h"

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include <SDL.h>

#include "platform/frame_pixels.h"
#include "platform/sdl/frame_placement.h"
#include "platform/sdl/input_translator.h"
#include "platform/sdl/sdl_window.h"
#include "platform/sdl/single_instance.h"

namespace platform::sdl {

namespace {

// Desktop: frames that come faster than this are shown together with the
// next one (the title screens redraw on every 2 ms pass); a play frame, one
// per 20 ms, always goes out at once.
constexpr std::uint32_t kMinPresentIntervalMs = 15;

constexpr const char* kNoDisplayHint = " (set DISPLAY or WAYLAND_DISPLAY, or use --headless)";

// SDL falls back to drawing nowhere ("offscreen", "dummy") when it finds no
// display; a player would get a game without a picture. Only an explicit
// SDL_VIDEODRIVER may ask for one of those.
bool OnARealScreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return false;
    const std::string name = driver;
    if (name != "offscreen" && name != "dummy") return true;
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return asked != nullptr && name == asked;
}

class SdlBackend final : public Backend {
public:
    SdlBackend() : input_([](std::uint32_t message, WPARAM wParam) { PostMessage(message, wParam, 0); }) {}

    ~SdlBackend() override {
        for (auto& [id, pad] : gamepads_) SDL_GameControllerClose(pad);
        window_.reset();
        if (sdlStarted_) SDL_Quit();
    }

    bool open(std::string& error) override {
        // SIGINT and SIGTERM must keep arriving as a quit event, which ends the
        // program through its close path, whatever the environment asks.
        SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "0", SDL_HINT_OVERRIDE);
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            error = std::string("cannot open a window: ") + SDL_GetError() + kNoDisplayHint;
            return false;
        }
        sdlStarted_ = true;
        if (!OnARealScreen()) {
            error = std::string("cannot open a window: no display") + kNoDisplayHint;
            return false;
        }
        // Without gamepads the keyboard still plays.
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);

        const GXDisplayProperties properties = GXGetDisplayProperties();
        const FrameSpan span = FrameSpanOf(properties);
        frame_.assign(static_cast<std::size_t>(span.highOffset - span.lowOffset + 1), 0);
        origin_ = frame_.data() - span.lowOffset;
        return true;
    }

    std::uint32_t tickCount() override { return SDL_GetTicks(); }

    void sleep(std::uint32_t milliseconds) override {
        // The main loop sleeps on every pass, but its timer may keep it from
        // ever waiting for input: events are taken here too.
        pumpEvents();
        SDL_Delay(milliseconds);
    }

    std::int16_t keyState(int virtualKey) override { return input_.keyState(virtualKey); }

    void waitForInput(std::uint32_t tick) override {
        if (pumpEvents() > 0) return;
        const std::int32_t remaining = static_cast<std::int32_t>(tick - SDL_GetTicks());
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, remaining > 0 ? remaining : 0)) handle(event);
        pumpEvents();
    }

    bool findRunningInstance(const char* className, const char*) override {
        return instance_.claim(InstanceDirectory(), className) == SingleInstance::Claim::AnotherRuns;
    }

    bool createWindow(const char* title, std::uint32_t iconId) override {
        SDL_Rect usable{0, 0, kScreenWidth, kScreenHeight};
        SDL_GetDisplayUsableBounds(0, &usable);
        const int scale = ChooseScale(usable.w, usable.h, CurrentOptions().scale);
        const FrameOrientation orientation = OrientationFor(CurrentOptions().layout);
        const Uint32 format =
            CurrentOptions().pixelFormat == kfDirect555 ? SDL_PIXELFORMAT_RGB555 : SDL_PIXELFORMAT_RGB565;
        window_ = std::make_unique<SdlWindow>();
        std::string error;
        if (!window_->create(title, scale, orientation, format, error)) {
            std::fprintf(stderr, "orbitfend: %s\n", error.c_str());
            window_.reset();
            return false;
        }
        window_->setIcon(FindResource("ICON", iconId));
        window_->present(frame_.data());  // black until the first frame
        return true;
    }

    void showWindow() override {
        if (window_) window_->show();
    }

    // Desktop: the handheld's full-screen request only hides its task bar and
    // input-panel button; a desktop window stays as the player left it, and
    // Alt+Enter or F11 give the whole screen.
    void requestFullScreen() override {}

    void* beginDraw() override { return origin_; }

    int endDraw() override {
        frameWaiting_ = true;
        presentIfDue();
        return 1;
    }

private:
    // Handles every queued event; returns how many there were.
    int pumpEvents() {
        if (window_ && instance_.takeActivationRequests() > 0) window_->raise();
        int count = 0;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            handle(event);
            ++count;
        }
        presentIfDue();
        return count;
    }

    void handle(const SDL_Event& event) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) openGamepad(event.cdevice.which);
        const WindowRequest request = input_.handle(event);
        if (event.type == SDL_CONTROLLERDEVICEREMOVED) closeGamepad(event.cdevice.which);
        if (window_ == nullptr) return;
        if (request == WindowRequest::ToggleFullScreen) window_->toggleFullScreen();
        if (request == WindowRequest::Redraw) window_->redraw();
    }

    void presentIfDue() {
        if (!frameWaiting_ || window_ == nullptr) return;
        const std::uint32_t now = SDL_GetTicks();
        if (now - lastPresent_ < kMinPresentIntervalMs) return;
        window_->present(frame_.data());
        frameWaiting_ = false;
        lastPresent_ = now;
    }

    void openGamepad(int deviceIndex) {
        SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
        if (pad) gamepads_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad))] = pad;
    }

    void closeGamepad(SDL_JoystickID id) {
        auto found = gamepads_.find(id);
        if (found == gamepads_.end()) return;
        SDL_GameControllerClose(found->second);
        gamepads_.erase(found);
    }

    bool sdlStarted_ = false;
    std::vector<std::uint16_t> frame_;
    std::uint16_t* origin_ = nullptr;
    std::unique_ptr<SdlWindow> window_;
    InputTranslator input_;
    SingleInstance instance_;
    std::map<SDL_JoystickID, SDL_GameController*> gamepads_;
    bool frameWaiting_ = false;
    std::uint32_t lastPresent_ = 0;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() { return std::make_unique<SdlBackend>(); }

}  // namespace platform::sdl
