// Outputs the run was asked to write (the trace, the sound capture,
// screenshots) that could not be written in full. Any thread.
#pragma once

#include <string>

// Says on standard error that the `what` file `path` could not be written,
// and marks the run as failed: the program then ends with exit status 1.
void ReportLostOutput(const std::string& what, const std::string& path);

// Whether any output was lost so far this run.
bool OutputLost();
