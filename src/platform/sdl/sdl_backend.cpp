#include "platform/sdl/sdl_backend.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include <SDL.h>

#include "platform/overlay.h"
#include "platform/sdl/frame_placement.h"
#include "platform/sdl/input_translator.h"
#include "platform/sdl/scripted_events.h"
#include "platform/sdl/sdl_window.h"
#include "platform/sdl/single_instance.h"
#include "resources/resources.h"

namespace platform::sdl {

namespace {

// Desktop: frames that come faster than this are shown together with the
// next one (the game-over screen redraws on every 2 ms pass); a play frame,
// one per 20 ms, always goes out at once.
constexpr std::uint32_t kMinPresentIntervalMs = 15;

// While nothing moves the loop sleeps in the window system, waking this
// often only to hear a later copy's "come to the front".
constexpr std::uint32_t kIdleWakeMs = 100;

constexpr const char* kNoDisplayHint = " (set DISPLAY or WAYLAND_DISPLAY, or use --headless)";

// Desktop: the display the window system was asked for, as the player set
// it, so a mistyped DISPLAY shows in the message.
std::string DisplayTried() {
    std::string tried;
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const char* value = SDL_getenv(name);
        if (value == nullptr || *value == '\0') continue;
        tried += (tried.empty() ? "" : ", ") + std::string(name) + "=" + value;
    }
    return tried.empty() ? "DISPLAY and WAYLAND_DISPLAY are unset" : tried;
}

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

std::uint32_t Until(std::uint32_t now, std::uint32_t tick) {
    const auto remaining = static_cast<std::int32_t>(tick - now);
    return remaining > 0 ? static_cast<std::uint32_t>(remaining) : 0;
}

class SdlBackend final : public Backend {
public:
    SdlBackend(const WindowSetup& setup, DesktopHooks hooks)
        : startScale_(setup.scale),
          hooks_(std::move(hooks)),
          input_([this](const InputEvent& event) { events_.push_back(event); }),
          frame_(setup.frame) {}

    ~SdlBackend() override {
        for (auto& [id, pad] : gamepads_) SDL_GameControllerClose(pad);
        window_.reset();
        if (sdlStarted_) SDL_Quit();
    }

    bool open(std::string& error) {
        // SIGINT and SIGTERM must keep arriving as a quit event, which ends the
        // program through its close path, whatever the environment asks.
        SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "0", SDL_HINT_OVERRIDE);
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        // The window's memory goes to the screen as it is (shared memory on
        // X11): sending only the rows that changed must not turn into a whole
        // texture drawn again by a software renderer.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            error = std::string("cannot open a window: ") + SDL_GetError() + " at " + DisplayTried() + kNoDisplayHint;
            return false;
        }
        sdlStarted_ = true;
        if (!OnARealScreen()) {
            error = "cannot open a window: no display at " + DisplayTried() + kNoDisplayHint;
            return false;
        }
        if (!scripted_.load(error)) return false;
        // Without gamepads the keyboard still plays.
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
        makeActive();
        return true;
    }

    // Clock
    std::uint32_t now() override { return SDL_GetTicks(); }

    void sleep(std::uint32_t milliseconds) override {
        pumpEvents();
        SDL_Delay(milliseconds);
        pumpEvents();
    }

    void waitForPass(std::uint32_t due, bool idle) override {
        pumpEvents();
        if (!events_.empty()) return;
        const std::uint32_t now = SDL_GetTicks();
        std::uint32_t timeout = idle ? kIdleWakeMs : Until(now, due);
        if (frameWaiting_) timeout = std::min(timeout, Until(now, lastPresent_ + kMinPresentIntervalMs));
        if (timeout == 0) return;
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(timeout))) handle(event);
        pumpEvents();
    }

    bool keyHeld(int key) override { return input_.keyHeld(key); }

    // Frame
    FrameGeometry geometry() override { return frame_.geometry(); }
    std::uint16_t* pixels() override { return frame_.origin(); }
    void present(bool changed) override {
        if (!changed) return;
        frameWaiting_ = true;
        presentIfDue();
    }

    // Desktop
    bool activateRunningCopy(const char* name) override {
        if (instance_.claim(InstanceDirectory(), name) != SingleInstance::Claim::AnotherRuns) return false;
        // Desktop: the second copy says why it ends at once.
        std::fprintf(stderr, "orbitfend is already running\n");
        return true;
    }

    bool openWindow(const char* title, std::uint32_t iconId) override {
        SDL_Rect usable{0, 0, kScreenWidth, kScreenHeight};
        SDL_GetDisplayUsableBounds(0, &usable);
        const int scale = ChooseScale(usable.w, usable.h, startScale_);
        window_ = std::make_unique<SdlWindow>();
        std::string error;
        if (!window_->create(title, scale, frame_.geometry(), error)) {
            std::fprintf(stderr, "orbitfend: %s\n", error.c_str());
            window_.reset();
            return false;
        }
        window_->setIcon(resources::FindResource("ICON", iconId));
        window_->present(frame_.origin());  // black until the first frame
        return true;
    }

    void showWindow() override {
        if (window_) window_->show();
    }

    void passEnded(const PassReport& report) override {
        if (hooks_.overlay) hooks_.overlay->report(SDL_GetTicks(), report.volume, report.maxVolume, report.onTitle);
        refreshOverlay();
    }

private:
    // Handles every queued event.
    void pumpEvents() {
        if (window_ && instance_.takeActivationRequests() > 0) window_->raise();
        scripted_.pushDue(SDL_GetTicks());
        SDL_Event event;
        while (SDL_PollEvent(&event)) handle(event);
        refreshOverlay();
        presentIfDue();
    }

    // Lays the volume overlay over the picture, and takes it away once its
    // time is up, even while the game's frame stays the same.
    void refreshOverlay() {
        const std::uint32_t now = SDL_GetTicks();
        if (hooks_.overlay == nullptr || window_ == nullptr) return;
        const bool visible = hooks_.overlay->visible(now);
        if (!visible && !overlayShown_) return;
        hooks_.overlay->paint(now, *overlayPicture_);
        if (window_->setOverlay(*overlayPicture_)) frameWaiting_ = true;
        overlayShown_ = visible;
    }

    void handle(const SDL_Event& event) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) openGamepad(event.cdevice.which);
        const WindowRequest request = input_.handle(event);
        if (event.type == SDL_CONTROLLERDEVICEREMOVED) closeGamepad(event.cdevice.which);
        if (window_ == nullptr) return;
        if (request == WindowRequest::ToggleFullScreen) window_->toggleFullScreen();
        if (request == WindowRequest::Redraw) window_->redraw();
        if (request == WindowRequest::Screenshot) saveScreenshot();
    }

    // The frame as the game drew it, without anything the window lays over it.
    void saveScreenshot() {
        if (hooks_.screenshot) hooks_.screenshot(frame_.rgb(), window_->scale());
    }

    void presentIfDue() {
        if (!frameWaiting_ || window_ == nullptr) return;
        const std::uint32_t now = SDL_GetTicks();
        if (now - lastPresent_ < kMinPresentIntervalMs) return;
        window_->present(frame_.origin());
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

    int startScale_;  // 0: the largest that fits the screen
    DesktopHooks hooks_;
    bool sdlStarted_ = false;
    InputTranslator input_;
    FrameMemory frame_;
    std::unique_ptr<SdlWindow> window_;
    SingleInstance instance_;
    ScriptedEvents scripted_;
    std::map<SDL_JoystickID, SDL_GameController*> gamepads_;
    bool frameWaiting_ = false;
    std::uint32_t lastPresent_ = 0;
    std::unique_ptr<OverlayPicture> overlayPicture_ = std::make_unique<OverlayPicture>();
    bool overlayShown_ = false;
};

}  // namespace

std::unique_ptr<Backend> OpenSdlBackend(std::string& error, const WindowSetup& setup, DesktopHooks hooks) {
    auto backend = std::make_unique<SdlBackend>(setup, std::move(hooks));
    if (!backend->open(error)) return nullptr;
    return backend;
}

}  // namespace platform::sdl
