// Start-up and the main loop: one window message, the volume keys and one
// frame of the current mode per pass.
#include "shell/app_main.h"

#include "game/game.h"
#include "game/game_state.h"
#include "game/sample_slots.h"
#include "shell/display.h"
#include "shell/screens.h"
#include "shell/state_trace.h"
#include "sound/sound_system.h"

using namespace platform;

namespace {

constexpr std::uint32_t kMixRate = 11025;
constexpr std::uint32_t kVoices = 16;
constexpr std::uint32_t kMusicChannels = 0;
constexpr std::uint8_t kStereo = 0;
constexpr std::int32_t kVolumeScaleMax = 320;
constexpr std::int32_t kVolumeDivisor = 5;

// Strict and unsigned: a deadline has passed on the first tick after it.
bool deadlinePassed() { return GetTickCount() > gameState.modeDeadline; }

void stepVolume(std::int32_t delta) {
    std::int32_t scale = gameState.volumeScale + delta;
    if (scale > kVolumeScaleMax) scale = kVolumeScaleMax;
    if (scale < 0) scale = 0;
    gameState.volumeScale = scale;
    gameState.volume = scale / kVolumeDivisor;
    soundSystem.setSampleVolume(gameState.volume);
}

void pollVolumeKeys() {
    if (GetAsyncKeyState(VK_F6) & 0xFFFF) stepVolume(+1);
    if (GetAsyncKeyState(VK_F7) & 0xFFFF) stepVolume(-1);
}

void runModeFrame() {
    switch (gameState.mode) {
    case Title: DrawTitleScreen(); break;
    case Paused: DrawPausedScreen(); break;
    case GameOver:
        DrawGameOverScreen();
        if (deadlinePassed()) gameState.mode = Title;
        break;
    case RoundStart:
    case LifeLost:
        if (deadlinePassed()) {
            gameState.mode = Playing;
            ResetCannon();
        }
        PlayFrame();
        break;
    default: PlayFrame(); break;
    }
}

}  // namespace

bool RegisterWindowClass(void* /*instance*/, const char* className) {
    return platform::RegisterWindowClass(className, MainWindowProc, kIconResource);
}

bool StartInstance(void* instance, int /*showCommand*/) {
    gameState.instance = instance;
    char title[100];
    LoadString(kTitleString, title, sizeof title);
    if (FindAndActivateRunningInstance(kWindowClassName, title)) return false;
    RegisterWindowClass(instance, kWindowClassName);
    HWND window = CreateMainWindow(kWindowClassName, title);
    if (window == nullptr) return false;
    soundSystem.start(kMixRate, kMusicChannels, kVoices, kStereo);
    ShowWindow(window);
    UpdateWindow(window);
    StartDisplay(window);
    LoadGameSounds(instance);
    soundSystem.setSampleVolume(gameState.volume);
    soundSystem.setMusicVolume(0);
    return true;
}

int AppMain(void* instance, void* /*previousInstance*/, const char* /*commandLine*/, int showCommand) {
    if (!StartInstance(instance, showCommand)) return 0;
    MSG msg;
    while (GetMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        pollVolumeKeys();
        runModeFrame();
        Sleep(1);
        TracePass();
    }
    StopDisplay();
    return static_cast<int>(msg.wParam);
}
