#include "platform/trace.h"

#include <cstdio>

#include "platform/lost_output.h"

namespace platform {

namespace {
std::FILE* traceFile = nullptr;
std::string tracePath;
bool traceWithWorld = false;
char traceBuffer[1 << 16];
}  // namespace

bool OpenTrace(const std::string& path, bool withWorld) {
    CloseTrace();
    traceFile = std::fopen(path.c_str(), "wb");
    // A pass writes about half a kilobyte; a larger buffer than the C
    // library's (1 KiB in wasi-libc) spares a write call for nearly every
    // line, and in the WebAssembly build each is a trip out of the module.
    // Given here, as musl takes no size without the memory.
    if (traceFile != nullptr) std::setvbuf(traceFile, traceBuffer, _IOFBF, sizeof traceBuffer);
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
