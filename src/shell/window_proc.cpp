// The window procedure: creation, activation, the action, pause and back keys.
#include "game/game.h"
#include "game/game_state.h"
#include "shell/app_main.h"
#include "shell/settings.h"
#include "sound/sound_system.h"

using namespace platform;

namespace {

void onKeyDown(WPARAM key) {
    switch (key) {
    case VK_ESCAPE:  // the back key
        SaveSettings();
        soundSystem.resume();
        soundSystem.stopAllVoices();
        soundSystem.shutdown();
        PostQuitMessage(0);
        break;
    case VK_RETURN:  // the action key
        if (gameState.mode == Title) {
            NewGame();
            gameState.modeDeadline = GetTickCount() + kRoundStartMs;
            gameState.mode = RoundStart;
        }
        break;
    case VK_F10:  // pause
        if (gameState.mode == Playing)
            gameState.mode = Paused;
        else if (gameState.mode == Paused)
            gameState.mode = Playing;
        break;
    default: break;
    }
}

}  // namespace

LRESULT MainWindowProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        LoadSettings();
        gameState.volumeScale = gameState.volume * 5;
        SetTimer(window, kMessageTimerId, kMessageTimerPeriodMs);
        return 0;
    case WM_DESTROY:
        // FIX: a close request saves the high score and the volume and gives
        // the key-press values back, as the back key does.
        SaveSettings();
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        if ((wParam & 0xFFFF) == WA_INACTIVE) {
            // FIX: losing activation saves the high score and the volume and
            // gives the key-press values back, as the back key does.
            SaveSettings();
            soundSystem.shutdown();
            PostQuitMessage(0);
        }
        return 0;
    case WM_KILLFOCUS:
        // Desktop addition: a window that loses the keyboard pauses the game
        // as F10 would, rather than ending the program.
        if (gameState.mode == Playing) gameState.mode = Paused;
        return 0;
    case WM_PAINT:
        BeginPaint(window);
        EndPaint(window);
        return 0;
    case WM_SETTINGCHANGE: HandleSettingChange(window, wParam, lParam, &gameState.activationInfo); return 0;
    case WM_KEYDOWN: onKeyDown(wParam); return 0;
    case WM_TIMER: return 0;
    default: return DefWindowProc(window, message, wParam, lParam);
    }
}
