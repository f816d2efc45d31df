#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <vector>

#include <stb/stb_image_write.h>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/frame.h"
#include "platform/frame_pixels.h"
#include "platform/headless/headless_clock.h"
#include "platform/headless/key_script.h"
#include "platform/input.h"
#include "platform/lost_output.h"
#include "platform/options.h"
#include "platform/trace.h"

namespace platform::headless {

namespace {

// FIX: the virtual clock counts in 64 bits from the start of the run, and the
// scripted moments (key events, screenshots, the end of the run) are placed
// on that count, so one 2^31 ms or more ahead is still ahead and the end of
// a run at 4294967295 ms is still reachable. The clock the program reads is
// its low 32 bits, and wraps as the platform's does.
std::uint64_t elapsed = 0;  // virtual milliseconds since the run began
std::vector<ClockListener*> listeners;

std::uint32_t clockNow() { return static_cast<std::uint32_t>(elapsed); }

// The moment of a tick the clock gave out: the program's pass deadlines and
// the sound device's buffer ends lie within 2^31 ms of the clock either way,
// so their signed distance from it places them. One already past is now.
std::uint64_t momentOfNearTick(std::uint32_t tick) {
    const auto distance = static_cast<std::int32_t>(tick - clockNow());
    return distance <= 0 ? elapsed : elapsed + static_cast<std::uint64_t>(distance);
}

void advanceToMoment(std::uint64_t target);

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

    bool open(std::string& error, OpenFailure& failure) {
        const Options& options = CurrentOptions();
        failure = OpenFailure::BadUsage;
        if (!options.keysPath.empty() && !loadKeys(options.keysPath, error)) return false;
        if (!options.tracePath.empty() && !OpenTrace(options.tracePath, options.traceWorld)) {
            // FIX: an output that cannot be made is lost output (exit 1), the
            // same for the trace as for the sound capture and screenshots.
            error = "cannot write the trace file " + options.tracePath;
            failure = OpenFailure::LostOutput;
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
    std::uint32_t now() override { return clockNow(); }
    void sleep(std::uint32_t milliseconds) override { advanceToMoment(elapsed + milliseconds); }
    void waitForPass(std::uint32_t due, bool /*idle*/) override {
        // Nothing can arrive but what the clock brings: move on to the next
        // moment at which something happens, or to `due`.
        const std::uint64_t dueMoment = momentOfNearTick(due);
        if (!events_.empty() || dueMoment <= elapsed) return;
        std::uint64_t next = dueMoment, scripted = 0;
        if (nextEventMoment(&scripted) && scripted < next) next = std::max(scripted, elapsed + 1);
        advanceToMoment(next);
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
        while (!screenshots_.empty() && elapsed >= screenshots_.front().tick) {
            writeScreenshot(screenshots_.front().path);
            screenshots_.erase(screenshots_.begin());
        }
    }

    // Desktop
    bool activateRunningCopy(const char*) override { return false; }
    bool openWindow(const char*, std::uint32_t) override { return true; }
    void showWindow() override {}

    // The earliest scripted moment still to come (a key event, or the end of
    // the run), in milliseconds since the run began.
    bool nextEventMoment(std::uint64_t* moment) const {
        bool any = false;
        if (nextKey_ < keyEvents_.size()) {
            *moment = keyEvents_[nextKey_].tick;
            any = true;
        }
        const Options& options = CurrentOptions();
        if (options.untilGiven && !closeSent_) {
            const std::uint64_t end = std::uint64_t{options.until} + 1;
            if (!any || end < *moment) *moment = end;
            any = true;
        }
        return any;
    }

    void fireEventsAt(std::uint64_t moment) {
        while (nextKey_ < keyEvents_.size() && keyEvents_[nextKey_].tick <= moment) {
            const KeyEvent& event = keyEvents_[nextKey_++];
            const auto key = static_cast<std::size_t>(event.virtualKey);
            switch (event.kind) {
            case KeyEvent::Kind::Down:
                keys_[key] = true;
                queueKeyEvent({InputEvent::Kind::KeyDown, event.virtualKey});
                break;
            case KeyEvent::Kind::Up:
                keys_[key] = false;
                queueKeyEvent({InputEvent::Kind::KeyUp, event.virtualKey});
                break;
            case KeyEvent::Kind::Deactivate: events_.push_back({InputEvent::Kind::Deactivated, 0}); break;
            // Desktop: the window's keyboard focus, scripted.
            case KeyEvent::Kind::FocusLost: events_.push_back({InputEvent::Kind::FocusLost, 0}); break;
            case KeyEvent::Kind::FocusGained: events_.push_back({InputEvent::Kind::FocusGained, 0}); break;
            }
        }
        const Options& options = CurrentOptions();
        if (options.untilGiven && !closeSent_ && moment > options.until) {
            // The end of the run is a close request, as from the window's close button.
            closeSent_ = true;
            events_.push_back({InputEvent::Kind::Close, 0});
        }
    }

private:
    // FIX: the queue holds at most kPendingInputLimit events, as a keyboard
    // buffer does; key events beyond it are dropped (what is held still
    // follows the script), so a flood of keys cannot hold back the close
    // request behind it. Close and deactivation are never dropped.
    void queueKeyEvent(const InputEvent& event) {
        if (events_.size() < kPendingInputLimit) events_.push_back(event);
    }

    bool loadKeys(const std::string& path, std::string& error) {
        // FIX: at most kKeyScriptLimit bytes are read, so an endless file
        // (/dev/zero) or a huge one is refused before any parsing, and a
        // script that cannot be read (a folder) is refused, not run as empty.
        std::string text(kKeyScriptLimit + 1, '\0');
        std::FILE* file = std::fopen(path.c_str(), "rb");
        const std::size_t length = file != nullptr ? std::fread(text.data(), 1, text.size(), file) : 0;
        const bool read = file != nullptr && std::ferror(file) == 0;
        if (file != nullptr) std::fclose(file);
        if (!read) {
            error = "cannot read the key script " + path;
            return false;
        }
        if (length > kKeyScriptLimit) {
            error = "the key script " + path + " is larger than 1 MB";
            return false;
        }
        text.resize(length);
        std::string lineError;
        if (!ParseKeyScript(text, keyEvents_, lineError)) {
            error = path + ": " + lineError;
            return false;
        }
        return true;
    }

    // FIX: every write of a screenshot is checked, to the close of its file:
    // one that could not be written in full fails the run.
    void writeScreenshot(const std::string& path) {
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 3);
        FrameToRgb(pixels(), geometry_, rgb.data());
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) return ReportLostOutput("screenshot", path);
        const bool encoded = stbi_write_png_to_func(appendToFile, file, kScreenWidth, kScreenHeight, 3, rgb.data(),
                                                    kScreenWidth * 3) != 0;
        const bool written = encoded && std::ferror(file) == 0;
        if (std::fclose(file) != 0 || !written) ReportLostOutput("screenshot", path);
    }

    static void appendToFile(void* file, void* data, int size) {
        std::fwrite(data, 1, static_cast<std::size_t>(size), static_cast<std::FILE*>(file));
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

namespace {

void advanceToMoment(std::uint64_t target) {
    for (;;) {
        // The earliest thing due at or before `target`.
        std::uint64_t next = target;
        bool found = false;
        auto consider = [&](std::uint64_t at) {
            at = std::max(at, elapsed);
            if (at <= next) {
                next = at;
                found = true;
            }
        };
        std::uint64_t scripted = 0;
        if (instance && instance->nextEventMoment(&scripted)) consider(scripted);
        std::uint32_t tick = 0;
        for (ClockListener* listener : listeners)
            if (listener->nextDeadline(&tick)) consider(momentOfNearTick(tick));
        if (!found) break;
        elapsed = next;
        if (instance) instance->fireEventsAt(elapsed);
        // Copy: a listener may remove itself when it is reached.
        std::vector<ClockListener*> due;
        for (ClockListener* listener : listeners)
            if (listener->nextDeadline(&tick) && momentOfNearTick(tick) <= elapsed) due.push_back(listener);
        for (ClockListener* listener : due) listener->reached(clockNow());
    }
    elapsed = std::max(elapsed, target);
}

}  // namespace

std::uint32_t Now() { return clockNow(); }

std::uint64_t NowMoment() { return elapsed; }

void AdvanceTo(std::uint32_t tick) { advanceToMoment(momentOfNearTick(tick)); }

void AddClockListener(ClockListener* listener) { listeners.push_back(listener); }

void RemoveClockListener(ClockListener* listener) {
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

std::unique_ptr<Backend> OpenHeadlessBackend(std::string& error, OpenFailure* failure) {
    auto backend = std::make_unique<HeadlessBackend>();
    OpenFailure reason = OpenFailure::BadUsage;
    if (!backend->open(error, reason)) {
        if (failure != nullptr) *failure = reason;
        return nullptr;
    }
    return backend;
}

}  // namespace platform::headless
