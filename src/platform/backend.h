// What a backend (sdl or headless) supplies beneath the platform calls. The
// window, the message queue and its timer are shared (window.cpp); a backend
// supplies time, keys, waiting for input, the frame buffer and the desktop.
#pragma once

#include <cstdint>
#include <string>

#include "platform/options.h"
#include "platform/platform.h"

namespace platform {

class Backend {
public:
    virtual ~Backend() = default;

    // Opens what the backend needs before the program starts (a window
    // system connection, a script). Returns false with a message in `error`.
    virtual bool open(std::string& error) = 0;

    virtual std::uint32_t tickCount() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
    virtual std::int16_t keyState(int virtualKey) = 0;

    // Waits until `tick` (or at least briefly) for input; input arrives as
    // posted messages (PostMessage) and key states.
    virtual void waitForInput(std::uint32_t tick) = 0;

    virtual bool findRunningInstance(const char* className, const char* title) = 0;
    virtual bool createWindow(const char* title, std::uint32_t iconId) = 0;
    virtual void showWindow() {}
    virtual void requestFullScreen() {}

    // The frame buffer: its memory holds pixels in the layout that
    // displayProperties() describes.
    virtual void* beginDraw() = 0;
    virtual int endDraw() = 0;

    virtual bool traceRequested(bool* /*withWorld*/) { return false; }
    virtual void writeTraceLine(const char* /*line*/, std::size_t /*length*/) {}
    virtual void passCompleted() {}
};

void SetBackend(Backend* backend);
Backend& ActiveBackend();

// Queues a message for the window (input from a backend, or the program's own).
void PostMessage(std::uint32_t message, WPARAM wParam, LPARAM lParam);
// Sends a message straight to the window procedure.
LRESULT SendMessage(std::uint32_t message, WPARAM wParam, LPARAM lParam);
// True while the main window exists.
bool WindowExists();

}  // namespace platform
