#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include <stb/stb_image_write.h>

#include "platform/frame_pixels.h"
#include "platform/headless/headless_clock.h"
#include "platform/headless/key_script.h"

namespace platform::headless {

namespace {

std::uint32_t clockNow = 0;
std::vector<ClockListener*> listeners;

class HeadlessBackend;
HeadlessBackend* instance = nullptr;

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend() { instance = this; }
    ~HeadlessBackend() override {
        instance = nullptr;
        if (trace_) std::fclose(trace_);
    }

    bool open(std::string& error) override {
        const Options& options = CurrentOptions();
        if (!options.keysPath.empty() && !loadKeys(options.keysPath, error)) return false;
        if (!options.tracePath.empty()) {
            trace_ = std::fopen(options.tracePath.c_str(), "wb");
            if (trace_ == nullptr) {
                error = "cannot write the trace file " + options.tracePath;
                return false;
            }
        }
        screenshots_ = options.screenshots;
        std::stable_sort(screenshots_.begin(), screenshots_.end(),
                         [](const Screenshot& a, const Screenshot& b) { return a.tick < b.tick; });
        properties_ = GXGetDisplayProperties();
        span_ = FrameSpanOf(properties_);
        frame_.assign(static_cast<std::size_t>(span_.highOffset - span_.lowOffset + 1), 0);
        return true;
    }

    std::uint32_t tickCount() override { return clockNow; }
    void sleep(std::uint32_t milliseconds) override { AdvanceTo(clockNow + milliseconds); }
    std::int16_t keyState(int virtualKey) override {
        return virtualKey >= 0 && virtualKey < 256 && keys_[static_cast<std::size_t>(virtualKey)]
                   ? static_cast<std::int16_t>(0x8000)
                   : 0;
    }
    void waitForInput(std::uint32_t tick) override {
        // Nothing can arrive but what the clock brings: move on to the next moment
        // at which something happens, or to `tick`.
        std::uint32_t next = tick;
        if (nextEventTick(&next) && static_cast<std::int32_t>(next - tick) > 0) next = tick;
        if (static_cast<std::int32_t>(next - clockNow) <= 0) next = clockNow + 1;
        AdvanceTo(next);
    }

    bool findRunningInstance(const char*, const char*) override { return false; }
    bool createWindow(const char*, std::uint32_t) override { return true; }

    void* beginDraw() override { return frame_.data() - span_.lowOffset; }
    int endDraw() override {
        while (!screenshots_.empty() && static_cast<std::int32_t>(clockNow - screenshots_.front().tick) >= 0) {
            writeScreenshot(screenshots_.front().path);
            screenshots_.erase(screenshots_.begin());
        }
        return 1;
    }

    bool traceRequested(bool* withWorld) override {
        if (withWorld) *withWorld = CurrentOptions().traceWorld;
        return trace_ != nullptr;
    }
    void writeTraceLine(const char* line, std::size_t length) override {
        if (trace_ == nullptr) return;
        std::fwrite(line, 1, length, trace_);
        std::fputc('\n', trace_);
    }

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
            switch (event.kind) {
            case KeyEvent::Kind::Down:
                keys_[static_cast<std::size_t>(event.virtualKey)] = true;
                PostMessage(WM_KEYDOWN, static_cast<WPARAM>(event.virtualKey), 0);
                break;
            case KeyEvent::Kind::Up: keys_[static_cast<std::size_t>(event.virtualKey)] = false; break;
            case KeyEvent::Kind::Deactivate: PostMessage(WM_ACTIVATE, WA_INACTIVE, 0); break;
            }
        }
        const Options& options = CurrentOptions();
        if (options.untilGiven && !closeSent_ && now > options.until) {
            // The end of the run is a close request, as from the window's close button.
            closeSent_ = true;
            PostMessage(WM_CLOSE, 0, 0);
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
        FrameToRgb(frame_.data() - span_.lowOffset, properties_, rgb.data());
        if (!stbi_write_png(path.c_str(), kScreenWidth, kScreenHeight, 3, rgb.data(), kScreenWidth * 3))
            std::fprintf(stderr, "orbitfend: cannot write the screenshot %s\n", path.c_str());
    }

    std::vector<KeyEvent> keyEvents_;
    std::size_t nextKey_ = 0;
    bool closeSent_ = false;
    std::array<bool, 256> keys_{};
    std::FILE* trace_ = nullptr;
    std::vector<Screenshot> screenshots_;
    GXDisplayProperties properties_;
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

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace platform::headless
