#include "shell/options.h"

namespace {
Options currentOptions;
}

const Options& CurrentOptions() { return currentOptions; }
void SetOptions(const Options& options) { currentOptions = options; }
