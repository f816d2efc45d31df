// The program's answers to its events. Main thread only.
#pragma once

#include "platform/input.h"

// What an event asks of the main loop.
enum class EventOutcome {
    GoOn,
    Quit,          // end once the events already waiting are handled
    QuitAndClose,  // the window is gone too: no event and no pacing tick reach the program after this
};

// The back, action and pause keys, a close request, the loss of focus or of
// activation.
EventOutcome HandleProgramEvent(const platform::InputEvent& event);
// Whether play, beginning now, starts paused because the keyboard went to
// another window while the round was starting or after a life was lost.
// Clears the request.
bool TakePauseAtPlay();
// Reads the settings, once the window exists.
void OnWindowCreated();
