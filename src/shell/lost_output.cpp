#include "shell/lost_output.h"

#include <atomic>
#include <cstdio>

namespace {
std::atomic<bool> outputLost{false};
}

void ReportLostOutput(const std::string& what, const std::string& path) {
    std::fprintf(stderr, "orbitfend: cannot write the %s %s\n", what.c_str(), path.c_str());
    outputLost = true;
}

bool OutputLost() { return outputLost; }
