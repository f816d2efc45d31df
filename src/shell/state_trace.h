// One line of the headless state trace per pass of the main loop: the pass,
// the tick count, every GameState field and the sample slots started.
#pragma once

#include <string>

// Writes the pass's line when a trace is being written, and counts the pass.
void TracePass();
// The record of the current state as one JSON object (no newline).
std::string DescribeState(unsigned pass, unsigned tick, bool withWorld);
