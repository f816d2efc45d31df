// The platform calls that go straight to the active backend.
#include <cstdio>
#include <cstdlib>

#include "platform/backend.h"

namespace platform {

namespace {
Backend* activeBackend = nullptr;
}

void SetBackend(Backend* backend) { activeBackend = backend; }

Backend& ActiveBackend() {
    if (activeBackend == nullptr) {
        std::fprintf(stderr, "orbitfend: no platform backend was chosen\n");
        std::abort();
    }
    return *activeBackend;
}

std::int16_t GetAsyncKeyState(int virtualKey) { return ActiveBackend().keyState(virtualKey); }
std::uint32_t GetTickCount() { return ActiveBackend().tickCount(); }
void Sleep(std::uint32_t milliseconds) { ActiveBackend().sleep(milliseconds); }

GXDisplayProperties GXGetDisplayProperties() {
    const Options& options = CurrentOptions();
    return DisplayPropertiesFor(options.layout, options.pixelFormat);
}

int GXOpenDisplay(HWND window, std::uint32_t) { return window != nullptr && WindowExists() ? 1 : 0; }
int GXOpenInput() { return 1; }
int GXCloseDisplay() { return 1; }
int GXCloseInput() { return 1; }
void* GXBeginDraw() { return ActiveBackend().beginDraw(); }
int GXEndDraw() { return ActiveBackend().endDraw(); }

bool TraceRequested(bool* withWorld) { return ActiveBackend().traceRequested(withWorld); }
void WriteTraceLine(const char* line, std::size_t length) { ActiveBackend().writeTraceLine(line, length); }
void PassCompleted() { ActiveBackend().passCompleted(); }

}  // namespace platform
