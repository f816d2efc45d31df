// The program's start-up, window procedure and main loop.
#pragma once

#include "platform/platform.h"

// Returns the process exit code: 0 when start-up fails, else the quit code.
int AppMain(void* instance, void* previousInstance, const char* commandLine, int showCommand);
bool StartInstance(void* instance, int showCommand);
bool RegisterWindowClass(void* instance, const char* className);
platform::LRESULT MainWindowProc(platform::HWND window, std::uint32_t message, platform::WPARAM wParam,
                                 platform::LPARAM lParam);

// The window class's name, used alike for the search, the registration and the window.
constexpr const char* kWindowClassName = "orbitfend.MainWindow";
constexpr std::uint32_t kTitleString = 1;
constexpr std::uint32_t kIconResource = 101;
constexpr std::uint32_t kMessageTimerId = 100;
constexpr std::uint32_t kMessageTimerPeriodMs = 2;
