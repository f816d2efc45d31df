#include "platform/null/null_platform.h"

#include "platform/options.h"

namespace platform {

namespace {
null::NullClock nullClock;
null::NullInput nullInput;
null::NullFrame nullFrame;
null::NullDesktop nullDesktop;

Clock* activeClock = nullptr;
Input* activeInput = nullptr;
Frame* activeFrame = nullptr;
Desktop* activeDesktop = nullptr;
}  // namespace

FrameGeometry null::NullFrame::geometry() { return GeometryFor(CurrentOptions().layout, CurrentOptions().pixelFormat); }

void SetActiveClock(Clock* clock) { activeClock = clock; }
Clock& ActiveClock() { return activeClock ? *activeClock : nullClock; }
void SetActiveInput(Input* input) { activeInput = input; }
Input& ActiveInput() { return activeInput ? *activeInput : nullInput; }
void SetActiveFrame(Frame* frame) { activeFrame = frame; }
Frame& ActiveFrame() { return activeFrame ? *activeFrame : nullFrame; }
void SetActiveDesktop(Desktop* desktop) { activeDesktop = desktop; }
Desktop& ActiveDesktop() { return activeDesktop ? *activeDesktop : nullDesktop; }

}  // namespace platform
