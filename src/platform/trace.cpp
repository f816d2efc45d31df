#include "platform/trace.h"

#include <cstdio>

namespace platform {

namespace {
std::FILE* traceFile = nullptr;
bool traceWithWorld = false;
}  // namespace

bool OpenTrace(const std::string& path, bool withWorld) {
    CloseTrace();
    traceFile = std::fopen(path.c_str(), "wb");
    traceWithWorld = withWorld;
    return traceFile != nullptr;
}

void CloseTrace() {
    if (traceFile) std::fclose(traceFile);
    traceFile = nullptr;
}

bool TraceRequested(bool* withWorld) {
    if (withWorld) *withWorld = traceWithWorld;
    return traceFile != nullptr;
}

void WriteTraceLine(const char* line, std::size_t length) {
    if (traceFile == nullptr) return;
    std::fwrite(line, 1, length, traceFile);
    std::fputc('\n', traceFile);
}

}  // namespace platform
