// The state trace (--trace, in a window too): one JSON line per pass of the
// main loop, with the pass, the tick count, every GameState field and the
// sample slots started. Main thread only.
#pragma once

// Starts the trace that the run's options name, if any. False when the file
// cannot be made: that is lost output, said on stderr.
bool OpenStateTrace();
// Finishes the trace; one that could not be written in full is lost output.
void CloseStateTrace();
// Writes the pass's line when a trace is being written, and counts the pass.
void TracePass();
