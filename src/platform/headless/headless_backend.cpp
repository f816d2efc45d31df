#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <fstream>
#include <sstream>
#include <vector>

#include <stb/stb_image_write.h>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/frame.h"
#include "platform/frame_pixels.h"
#include "platform/headless/headless_clock.h"
#include "platform/headless/key_script.h"
#include "platform/input.h"
#include "platform/options.h"
#include "platform/trace.h"

namespace platform::headless {

namespace {

std::uint32_t clockNow = 0;
std::vector<ClockListener*> listeners;

class HeadlessBackend;
HeadlessBackend* instance = nullptr;

class HeadlessBackend final : public Backend, Clock, Input, Frame, Desktop {
public:
    HeadlessBackend() {
        geometry_ = GeometryFor(CurrentOptions().layout, CurrentOptions().pixelFormat);
        span_ = SpanOf(geometry_);
        frame_.assign(static_cast<std::size_t>(span_.pixelCount()), 0);
        screenshots_ = CurrentOptions().screenshots;
        std::stable_sort(screenshots_.begin(), screenshots_.end(),
                         [](const Screenshot& a, const Screenshot& b) { return a.tick < b.tick; });
    }

    ~HeadlessBackend() override {
        instance = nullptr;
        SetActiveClock(nullptr);
        SetActiveInput(nullptr);
        SetActiveFrame(nullptr);
        SetActiveDesktop(nullptr);
        CloseTrace();
    }

    bool open(std::string& error) {
        const Options& options = CurrentOptions();
        if (!options.keysPath.empty() && !loadKeys(options.keysPath, error)) return false;
        if (!options.tracePath.empty() && !OpenTrace(options.tracePath, options.traceWorld)) {
            error = "cannot write the trace file " + options.tracePath;
            return false;
        }
        instance = this;
        SetActiveClock(this);
        SetActiveInput(this);
        SetActiveFrame(this);
        SetActiveDesktop(this);
        return true;
    }

    // Clock
    std::uint32_t now() override { return clockNow; }
    void sleep(std::uint32_t milliseconds) override { AdvanceTo(clockNow + milliseconds); }
    void waitForPass(std::uint32_t due, bool /*idle*/) override {
        // Nothing can arrive but what the clock brings: move on to the next
        // moment at which something happens, or to `due`.
        if (!events_.empty() || TickReached(clockNow, due)) return;
        std::uint32_t next = due;
        if (nextEventTick(&next) && static_cast<std::int32_t>(next - due) > 0) next = due;
        if (static_cast<std::int32_t>(next - clockNow) <= 0) next = clockNow + 1;
        AdvanceTo(next);
    }

    // Input
    bool takeEvent(InputEvent& event) override {
        if (events_.empty()) return false;
        event = events_.front();
        events_.pop_front();
        return true;
    }
    bool keyHeld(int key) override { return key >= 0 && key < 256 && keys_[static_cast<std::size_t>(key)]; }

    // Frame
    FrameGeometry geometry() override { return geometry_; }
    std::uint16_t* pixels() override { return frame_.data() - span_.lowOffset; }
    void present(bool /*changed*/) override {
        while (!screenshots_.empty() && TickReached(clockNow, screenshots_.front().tick)) {
            writeScreenshot(screenshots_.front().path);
            screenshots_.erase(screenshots_.begin());
        }
    }

    // Desktop
    bool activateRunningCopy(const char*) override { return false; }
    bool openWindow(const char*, std::uint32_t) override { return true; }
    void showWindow() override {}

    // The earliest scripted moment still to come (a key event, or the end of the run).
    bool nextEventTick(std::uint32_t* tick) const {
        bool any = false;
        if (nextKey_ < keyEvents_.size()) {
            *tick = keyEvents_[nextKey_].tick;
            any = true;
        }
        const Options& options = CurrentOptions();
        if (options.untilGiven && !closeSent_) {
            std::uint32_t end = options.until + 1;
            if (!any || end < *tick) *tick = end;
            any = true;
        }
        return any;
    }

    void fireEventsAt(std::uint32_t now) {
        while (nextKey_ < keyEvents_.size() && keyEvents_[nextKey_].tick <= now) {
            const KeyEvent& event = keyEvents_[nextKey_++];
            const auto key = static_cast<std::size_t>(event.virtualKey);
            switch (event.kind) {
            case KeyEvent::Kind::Down:
                keys_[key] = true;
                events_.push_back({InputEvent::Kind::KeyDown, event.virtualKey});
                break;
            case KeyEvent::Kind::Up:
                keys_[key] = false;
                events_.push_back({InputEvent::Kind::KeyUp, event.virtualKey});
                break;
            case KeyEvent::Kind::Deactivate: events_.push_back({InputEvent::Kind::Deactivated, 0}); break;
            // Desktop: the window's keyboard focus, scripted.
            case KeyEvent::Kind::FocusLost: events_.push_back({InputEvent::Kind::FocusLost, 0}); break;
            case KeyEvent::Kind::FocusGained: events_.push_back({InputEvent::Kind::FocusGained, 0}); break;
            }
        }
        const Options& options = CurrentOptions();
        if (options.untilGiven && !closeSent_ && now > options.until) {
            // The end of the run is a close request, as from the window's close button.
            closeSent_ = true;
            events_.push_back({InputEvent::Kind::Close, 0});
        }
    }

private:
    bool loadKeys(const std::string& path, std::string& error) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            error = "cannot read the key script " + path;
            return false;
        }
        std::stringstream text;
        text << file.rdbuf();
        std::string lineError;
        if (!ParseKeyScript(text.str(), keyEvents_, lineError)) {
            error = path + ": " + lineError;
            return false;
        }
        return true;
    }

    void writeScreenshot(const std::string& path) {
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 3);
        FrameToRgb(pixels(), geometry_, rgb.data());
        if (!stbi_write_png(path.c_str(), kScreenWidth, kScreenHeight, 3, rgb.data(), kScreenWidth * 3))
            std::fprintf(stderr, "orbitfend: cannot write the screenshot %s\n", path.c_str());
    }

    std::vector<KeyEvent> keyEvents_;
    std::size_t nextKey_ = 0;
    bool closeSent_ = false;
    std::deque<InputEvent> events_;
    std::array<bool, 256> keys_{};
    std::vector<Screenshot> screenshots_;
    FrameGeometry geometry_;
    FrameSpan span_;
    std::vector<std::uint16_t> frame_;
};

}  // namespace

std::uint32_t Now() { return clockNow; }

void AdvanceTo(std::uint32_t tick) {
    for (;;) {
        // The earliest thing due at or before `tick`.
        std::uint32_t next = tick;
        bool found = false;
        auto consider = [&](std::uint32_t at) {
            if (static_cast<std::int32_t>(at - clockNow) < 0) at = clockNow;
            if (static_cast<std::int32_t>(at - next) <= 0) {
                next = at;
                found = true;
            }
        };
        std::uint32_t at = 0;
        if (instance && instance->nextEventTick(&at)) consider(at);
        for (ClockListener* listener : listeners)
            if (listener->nextDeadline(&at)) consider(at);
        if (!found) break;
        clockNow = next;
        if (instance) instance->fireEventsAt(clockNow);
        // Copy: a listener may remove itself when it is reached.
        std::vector<ClockListener*> due;
        for (ClockListener* listener : listeners)
            if (listener->nextDeadline(&at) && static_cast<std::int32_t>(at - clockNow) <= 0) due.push_back(listener);
        for (ClockListener* listener : due) listener->reached(clockNow);
    }
    if (static_cast<std::int32_t>(tick - clockNow) > 0) clockNow = tick;
}

void AddClockListener(ClockListener* listener) { listeners.push_back(listener); }

void RemoveClockListener(ClockListener* listener) {
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

std::unique_ptr<Backend> OpenHeadlessBackend(std::string& error) {
    auto backend = std::make_unique<HeadlessBackend>();
    if (!backend->open(error)) return nullptr;
    return backend;
}

}  // namespace platform::headless
