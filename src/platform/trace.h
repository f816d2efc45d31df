// The headless run's state trace: one JSON line per pass of the main loop.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Starts writing the trace to `path`; false when the file cannot be made.
bool OpenTrace(const std::string& path, bool withWorld);
// Finishes the trace; a trace that could not be written in full is reported
// as lost output.
void CloseTrace();

// Whether a trace is being written this run, and whether it should carry the
// whole world (aliens, bombs, shields, ground).
bool TraceRequested(bool* withWorld);
// Appends one line (a JSON object, no newline) to the trace.
void WriteTraceLine(const char* line, std::size_t length);

}  // namespace platform
