// The thin layer between the program and the machine it runs on.
//
// The shell, graphics, game and sound code reach the outside world only
// through these calls. Two backends provide them: "sdl" (a real window,
// keyboard, gamepad and audio device) and "headless" (a virtual clock,
// scripted keys, screenshots, a state trace and a WAV capture). The calls keep
// the names, arguments and results that the program was written against; the
// constant names are those of the handheld's own platform.
//
// Unless a call says otherwise it belongs to the main thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// ---- Window messages ------------------------------------------------------

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct Window;
using HWND = Window*;

using WNDPROC = LRESULT (*)(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

constexpr std::uint32_t WM_CREATE = 1;
constexpr std::uint32_t WM_DESTROY = 2;
constexpr std::uint32_t WM_ACTIVATE = 6;
constexpr std::uint32_t WM_SETFOCUS = 7;
constexpr std::uint32_t WM_KILLFOCUS = 8;
constexpr std::uint32_t WM_PAINT = 15;
constexpr std::uint32_t WM_CLOSE = 16;
constexpr std::uint32_t WM_QUIT = 18;
constexpr std::uint32_t WM_SETTINGCHANGE = 26;
constexpr std::uint32_t WM_KEYDOWN = 256;
constexpr std::uint32_t WM_KEYUP = 257;
constexpr std::uint32_t WM_COMMAND = 273;
constexpr std::uint32_t WM_TIMER = 275;

constexpr std::uint32_t WA_INACTIVE = 0;
constexpr std::uint32_t WA_ACTIVE = 1;

struct MSG {
    HWND hwnd = nullptr;
    std::uint32_t message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// ---- Virtual-key codes ----------------------------------------------------

constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_4 = 52;
constexpr int VK_5 = 53;
constexpr int VK_6 = 54;
constexpr int VK_F1 = 112;
constexpr int VK_F2 = 113;
constexpr int VK_F6 = 117;
constexpr int VK_F7 = 118;
constexpr int VK_F8 = 119;
constexpr int VK_F9 = 120;
constexpr int VK_F10 = 121;

// ---- Resources ------------------------------------------------------------

// The program's pictures, sounds, icon and title are compiled into the
// executable and found by type ("BITMAP", "ICON", "WAVE", "PTMOD") and number.
struct ResourceBytes {
    const std::uint8_t* data = nullptr;  // null when the resource does not exist
    std::size_t size = 0;
};
ResourceBytes FindResource(const char* type, std::uint32_t id);

// Copies string resource `id` into `buffer` (at most bufferSize - 1 characters
// and a terminating zero); returns the number of characters copied, 0 when
// there is no such string.
int LoadString(std::uint32_t id, char* buffer, int bufferSize);

// The full path of the running executable, or an empty string.
const char* ExecutablePath();

// ---- Windows and the message queue ---------------------------------------

// Brings an already running copy of the program to the front; returns true
// when one was found (the caller then exits). Never finds one headless.
bool FindAndActivateRunningInstance(const char* className, const char* title);

// Registers the window class: its procedure and its icon resource.
bool RegisterWindowClass(const char* className, WNDPROC procedure, std::uint32_t iconId);
// Creates the one top-level window of a registered class. WM_CREATE reaches
// the class's procedure before this returns. Null when no window can be made.
HWND CreateMainWindow(const char* className, const char* title);
void ShowWindow(HWND window);
void UpdateWindow(HWND window);  // sends WM_PAINT
void MoveWindow(HWND window, int x, int y, int width, int height);

// Waits for the next message. Returns false when it is WM_QUIT (the quit code
// is then in msg->wParam). The headless backend advances its clock to the
// next timer message when the queue is empty.
bool GetMessage(MSG* msg);
void TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// Default handling: WM_CLOSE destroys the window (WM_DESTROY follows).
LRESULT DefWindowProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// A message timer: WM_TIMER with wParam = id every periodMs milliseconds.
void SetTimer(HWND window, std::uint32_t id, std::uint32_t periodMs);
void BeginPaint(HWND window);
void EndPaint(HWND window);

// The shell library's full-screen request (flags 0x2A hide the task bar, the
// input-panel button and the start icon) and its settings-change handler.
bool RequestFullScreen(HWND window, std::uint32_t flags);
struct ActivationInfo {
    std::uint32_t size = 0;
    std::uint32_t flags = 0;
};
void HandleSettingChange(HWND window, WPARAM wParam, LPARAM lParam, ActivationInfo* info);

// ---- Keys and time --------------------------------------------------------

// Nonzero while the key is down.
std::int16_t GetAsyncKeyState(int virtualKey);
// Milliseconds since an arbitrary start; wraps at 2^32.
std::uint32_t GetTickCount();
void Sleep(std::uint32_t milliseconds);

// ---- Direct display access ------------------------------------------------

// Six members in the platform's order: the frame buffer's geometry.
struct GXDisplayProperties {
    std::uint32_t cxWidth = 0;
    std::uint32_t cyHeight = 0;
    std::int32_t cbxPitch = 0;  // bytes from a pixel to its right-hand neighbour
    std::int32_t cbyPitch = 0;  // bytes from a pixel to the one below it
    std::int32_t cBPP = 0;
    std::uint32_t ffFormat = 0;
};
constexpr std::uint32_t kfDirect555 = 0x40;
constexpr std::uint32_t kfDirect565 = 0x80;
constexpr std::uint32_t GX_FULLSCREEN = 1;

GXDisplayProperties GXGetDisplayProperties();
int GXOpenDisplay(HWND window, std::uint32_t flags);
int GXOpenInput();
int GXCloseDisplay();
int GXCloseInput();
// The address of pixel (0, 0) of the frame buffer, or null; valid until GXEndDraw.
void* GXBeginDraw();
int GXEndDraw();

// ---- Bitmaps ----------------------------------------------------------------

// A decoded bitmap resource (4-bit, 8-bit or 24-bit BMP), held as 24-bit pixels.
struct Bitmap;
using HBITMAP = Bitmap*;

HBITMAP LoadBitmap(std::uint32_t id);  // null when missing or undecodable
bool GetBitmapSize(HBITMAP bitmap, int* width, int* height);
// Copies the w x h rectangle at (sx, sy) of the bitmap to the top-left corner
// of a 24-bit bottom-up section (rows of sectionWidth pixels, 3 bytes each,
// blue-green-red; sectionHeight rows, the last row first in memory). Pixels
// outside the bitmap or the section are left alone.
bool CopyBitmapToSection(HBITMAP bitmap, int sx, int sy, int w, int h, std::uint8_t* sectionBits, int sectionWidth,
                         int sectionHeight);
void DeleteBitmap(HBITMAP bitmap);

// ---- The headless harness's hooks ----------------------------------------

// Whether a state trace is being written this run, and whether it should
// carry the whole world (aliens, bombs, shields, ground).
bool TraceRequested(bool* withWorld);
// Appends one line (a JSON object, no newline) to the trace.
void WriteTraceLine(const char* line, std::size_t length);
// The end of one pass of the main loop.
void PassCompleted();

}  // namespace platform
