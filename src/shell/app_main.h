// The program's start-up, its main loop as one pass at a time, and its end.
//
// A pass takes one event (an input event, or the 2 ms pacing tick when none
// came), then reads the volume keys, runs the current mode's frame and
// sleeps 1 ms. A host that can block runs AppMain; one that cannot calls
// StartInstance, then RunPass whenever a pass is due, then EndProgram.
// Main thread only.
#pragma once

#include <cstdint>

struct PassResult {
    bool goOn = true;            // false: the program has ended; call EndProgram
    std::uint32_t nextPass = 0;  // the tick at which a pass is due without input
    // Until the next input every pass would draw the same frame and change
    // nothing else: a host may sleep until input arrives.
    bool idle = false;
};

// Runs the program to its end; returns the process exit code (0, also when
// start-up fails: another copy runs, or there is no window).
int AppMain();
// False when the state trace cannot be made, another copy runs or there is no
// window; the program then ends.
bool StartInstance();
// One pass if one is due (an input event is waiting, or the pacing tick has
// come); otherwise nothing is done. Either way, what is due next.
PassResult RunPass();
// Closes the display and the state trace; returns the exit code, 0.
int EndProgram();

// The name that one running copy per user holds.
constexpr const char* kInstanceName = "orbitfend.MainWindow";
constexpr std::uint32_t kTitleString = 1;
constexpr std::uint32_t kIconResource = 101;
constexpr std::uint32_t kPacingPeriodMs = 2;
