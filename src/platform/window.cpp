// The one window and its message queue, shared by both backends: posted
// messages first, then the quit request, then the timer, as the program's
// main loop expects of its platform.
#include <deque>
#include <string>

#include "platform/backend.h"

namespace platform {

struct Window {
    WNDPROC procedure = nullptr;
    std::string title;
};

namespace {

struct WindowClass {
    std::string name;
    WNDPROC procedure = nullptr;
    std::uint32_t iconId = 0;
};

WindowClass windowClass;
Window mainWindow;
bool windowExists = false;
std::deque<MSG> queue;
bool quitPosted = false;
int quitCode = 0;

bool timerSet = false;
std::uint32_t timerId = 0;
std::uint32_t timerPeriod = 0;
std::uint32_t timerDue = 0;

// Signed distance on the wrapping millisecond clock.
bool tickReached(std::uint32_t now, std::uint32_t due) { return static_cast<std::int32_t>(now - due) >= 0; }

}  // namespace

bool FindAndActivateRunningInstance(const char* className, const char* title) {
    return ActiveBackend().findRunningInstance(className, title);
}

bool RegisterWindowClass(const char* className, WNDPROC procedure, std::uint32_t iconId) {
    if (className == nullptr || procedure == nullptr) return false;
    windowClass = WindowClass{className, procedure, iconId};
    return true;
}

HWND CreateMainWindow(const char* className, const char* title) {
    if (windowExists || className == nullptr || windowClass.name != className) return nullptr;
    if (!ActiveBackend().createWindow(title, windowClass.iconId)) return nullptr;
    WNDPROC procedure = windowClass.procedure;
    mainWindow.procedure = procedure;
    mainWindow.title = title;
    windowExists = true;
    procedure(&mainWindow, WM_CREATE, 0, 0);
    return &mainWindow;
}

void ShowWindow(HWND window) {
    if (window == &mainWindow && windowExists) ActiveBackend().showWindow();
}

void UpdateWindow(HWND window) {
    if (window == &mainWindow && windowExists) mainWindow.procedure(window, WM_PAINT, 0, 0);
}

void MoveWindow(HWND, int, int, int, int) {
    // The desktop window keeps the size the backend chose; the frame is scaled into it.
}

bool RequestFullScreen(HWND window, std::uint32_t /*flags*/) {
    if (window != &mainWindow || !windowExists) return false;
    ActiveBackend().requestFullScreen();
    return true;
}

void HandleSettingChange(HWND, WPARAM, LPARAM, ActivationInfo*) {}

void BeginPaint(HWND) {}
void EndPaint(HWND) {}

void PostMessage(std::uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (!windowExists) return;
    queue.push_back(MSG{&mainWindow, message, wParam, lParam});
}

LRESULT SendMessage(std::uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (!windowExists) return 0;
    return mainWindow.procedure(&mainWindow, message, wParam, lParam);
}

bool WindowExists() { return windowExists; }

void PostQuitMessage(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}

void SetTimer(HWND window, std::uint32_t id, std::uint32_t periodMs) {
    if (window != &mainWindow) return;
    timerSet = true;
    timerId = id;
    timerPeriod = periodMs == 0 ? 1 : periodMs;
    timerDue = ActiveBackend().tickCount() + timerPeriod;
}

bool GetMessage(MSG* msg) {
    Backend& backend = ActiveBackend();
    for (;;) {
        if (!queue.empty()) {
            *msg = queue.front();
            queue.pop_front();
            return true;
        }
        if (quitPosted) {
            quitPosted = false;
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0};
            return false;
        }
        std::uint32_t now = backend.tickCount();
        if (timerSet && windowExists && tickReached(now, timerDue)) {
            // Like the platform's timers, elapsed periods are coalesced into one message.
            timerDue = now + timerPeriod;
            *msg = MSG{&mainWindow, WM_TIMER, timerId, 0};
            return true;
        }
        backend.waitForInput(timerSet ? timerDue : now + 10);
    }
}

void TranslateMessage(const MSG*) {}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg->hwnd != &mainWindow || !windowExists) return 0;
    return mainWindow.procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProc(HWND window, std::uint32_t message, WPARAM, LPARAM) {
    if (message == WM_CLOSE && window == &mainWindow && windowExists) {
        mainWindow.procedure(window, WM_DESTROY, 0, 0);
        windowExists = false;
        queue.clear();
    }
    return 0;
}

}  // namespace platform
