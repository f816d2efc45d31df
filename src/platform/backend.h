// A backend: one implementation of each family (clock, input, frame and
// desktop), active from makeActive() for as long as it lives. Its sound
// device is set on its own (audio_out.h). Main thread only.
#pragma once

#include <deque>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/frame.h"
#include "platform/input.h"

namespace platform {

class Backend : public Clock, public Input, public Frame, public Desktop {
public:
    ~Backend() override {
        SetActiveClock(nullptr);
        SetActiveInput(nullptr);
        SetActiveFrame(nullptr);
        SetActiveDesktop(nullptr);
    }

    bool takeEvent(InputEvent& event) override {
        if (events_.empty()) return false;
        event = events_.front();
        events_.pop_front();
        return true;
    }

protected:
    void makeActive() {
        SetActiveClock(this);
        SetActiveInput(this);
        SetActiveFrame(this);
        SetActiveDesktop(this);
    }

    std::deque<InputEvent> events_;  // waiting for the program, oldest first
};

}  // namespace platform
