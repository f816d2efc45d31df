// The program's answers to its events: creation, the action, pause and back
// keys, a close request, the loss of focus and of activation.
#include "shell/program_events.h"
#include "game/game.h"
#include "game/game_state.h"
#include "platform/clock.h"
#include "shell/settings.h"
#include "sound/sound_system.h"

using namespace platform;

namespace {

// Set while the keyboard is elsewhere and a timed mode runs that will turn
// to play on its own.
bool pauseAtPlay = false;

EventOutcome onKeyDown(int key) {
    switch (key) {
    case VK_ESCAPE:  // the back key
        SaveSettings();
        soundSystem.resume();
        soundSystem.stopAllVoices();
        soundSystem.shutdown();
        return EventOutcome::Quit;
    case VK_RETURN:  // the action key
        if (gameState.mode == Title) {
            pauseAtPlay = false;
            NewGame();
            gameState.modeDeadline = ActiveClock().now() + kRoundStartMs;
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
    return EventOutcome::GoOn;
}

}  // namespace

EventOutcome HandleProgramEvent(const InputEvent& event) {
    switch (event.kind) {
    case InputEvent::Kind::KeyDown: return onKeyDown(event.key);
    case InputEvent::Kind::Close:
        // FIX: a close request saves the high score and the volume, as the
        // back key does.
        SaveSettings();
        return EventOutcome::QuitAndClose;
    case InputEvent::Kind::Deactivated:
        // FIX: losing activation saves the high score and the volume, as
        // the back key does.
        SaveSettings();
        soundSystem.shutdown();
        return EventOutcome::Quit;
    case InputEvent::Kind::FocusLost:
        // Desktop: a window that loses the keyboard pauses the game as F10
        // would, rather than ending the program.
        if (gameState.mode == Playing) gameState.mode = Paused;
        // Desktop: lost before play begins (a round starting, a life just
        // lost), the game pauses as play begins; the title and the game-over
        // screen have nothing to pause.
        if (gameState.mode == RoundStart || gameState.mode == LifeLost) pauseAtPlay = true;
        break;
    case InputEvent::Kind::FocusGained:
        // Desktop: the player is back before play begins; nothing to pause.
        pauseAtPlay = false;
        break;
    case InputEvent::Kind::KeyUp: break;
    }
    return EventOutcome::GoOn;
}

bool TakePauseAtPlay() {
    const bool pause = pauseAtPlay;
    pauseAtPlay = false;
    return pause;
}

void OnWindowCreated() {
    LoadSettings();
    gameState.volumeScale = gameState.volume * 5;
}
