#include "platform/trace.h"

#include <cstdio>

#include "platform/lost_output.h"

namespace platform {

namespace {
std::FILE* traceFile = nullptr;
std::string tracePath;
bool traceWithWorld = false;
}  // namespace

bool OpenTrace(const std::string& path, bool withWorld) {
    CloseTrace();
    traceFile = std::fopen(path.c_str(), "wb");
    // A line goes out every pass: large writes keep a reader at the other
    // end of a pipe from waking for every few lines.
    if (traceFile != nullptr) std::setvbuf(traceFile, nullptr, _IOFBF, 1 << 16);
    tracePath = path;
    traceWithWorld = withWorld;
    return traceFile != nullptr;
}

void CloseTrace() {
    if (traceFile == nullptr) return;
    // FIX: a trace that lost lines (a full disk, a failed flush at close) is
    // reported, and the run fails, instead of ending as if it were whole.
    const bool lost = std::ferror(traceFile) != 0;
    if (std::fclose(traceFile) != 0 || lost) ReportLostOutput("trace file", tracePath);
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
