#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace platform::headless {

namespace {

// FIX: the virtual clock counts in 64 bits from the start of the run, and the
// scripted moments (keys, the run's end, screenshots) lie on that count, so
// one 2^31 ms or more ahead is still ahead and an end at 4294967295 ms is
// reached. The program reads its low 32 bits, which wrap as the platform's.
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

class HeadlessBackend final : public Backend {
public:
    explicit HeadlessBackend(HeadlessSetup setup) : setup_(std::move(setup)), frame_(setup_.frame) {
        instance = this;
        makeActive();
    }
    ~HeadlessBackend() override { instance = nullptr; }

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

    bool keyHeld(int key) override { return key >= 0 && key < 256 && keys_[static_cast<std::size_t>(key)]; }

    FrameGeometry geometry() override { return frame_.geometry(); }
    std::uint16_t* pixels() override { return frame_.origin(); }
    void present(bool /*changed*/) override {
        if (setup_.presented) setup_.presented(frame_);
    }

    bool activateRunningCopy(const char*) override { return false; }
    bool openWindow(const char*, std::uint32_t) override { return true; }
    void showWindow() override {}

    // The earliest scripted moment still to come (a key event, or the end of
    // the run), in milliseconds since the run began.
    bool nextEventMoment(std::uint64_t* moment) const {
        const bool key = nextKey_ < setup_.keys.size(), end = setup_.until && !closeSent_;
        if (key) *moment = setup_.keys[nextKey_].tick;
        if (end && (!key || *setup_.until + std::uint64_t{1} < *moment)) *moment = *setup_.until + std::uint64_t{1};
        return key || end;
    }

    void fireEventsAt(std::uint64_t moment) {
        using Kind = InputEvent::Kind;
        for (; nextKey_ < setup_.keys.size() && setup_.keys[nextKey_].tick <= moment; ++nextKey_) {
            const KeyEvent& event = setup_.keys[nextKey_];
            const bool down = event.kind == KeyEvent::Kind::Down;
            if (down || event.kind == KeyEvent::Kind::Up) {
                keys_[static_cast<std::size_t>(event.virtualKey)] = down;
                // FIX: the queue holds at most kPendingInputLimit events, as a
                // keyboard buffer does; key events beyond it are dropped (what
                // is held still follows the script), so a flood of keys cannot
                // hold back the close request behind it.
                if (events_.size() < kPendingInputLimit)
                    events_.push_back({down ? Kind::KeyDown : Kind::KeyUp, event.virtualKey});
            } else {
                // Desktop: the window's keyboard focus, scripted.
                events_.push_back({event.kind == KeyEvent::Kind::Deactivate  ? Kind::Deactivated
                                   : event.kind == KeyEvent::Kind::FocusLost ? Kind::FocusLost
                                                                             : Kind::FocusGained,
                                   0});
            }
        }
        if (setup_.until && !closeSent_ && moment > *setup_.until) {
            // The end of the run is a close request, as from the window's close button.
            closeSent_ = true;
            events_.push_back({Kind::Close, 0});
        }
    }

private:
    HeadlessSetup setup_;
    std::size_t nextKey_ = 0;
    bool closeSent_ = false;
    std::array<bool, 256> keys_{};
    FrameMemory frame_;
};

void advanceToMoment(std::uint64_t target) {
    for (;;) {
        // The earliest thing due at or before `target`.
        std::uint64_t next = target, scripted = 0;
        bool found = false;
        auto consider = [&](std::uint64_t at) {
            at = std::max(at, elapsed);
            if (at <= next) next = at, found = true;
        };
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

void RemoveClockListener(ClockListener* listener) { std::erase(listeners, listener); }

std::unique_ptr<Backend> OpenHeadlessBackend(HeadlessSetup setup) {
    return std::make_unique<HeadlessBackend>(std::move(setup));
}

}  // namespace platform::headless
