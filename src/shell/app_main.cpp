// Start-up and the main loop: one event, the volume keys and one frame of
// the current mode per pass.
#include "shell/app_main.h"

#include "game/game.h"
#include "game/game_state.h"
#include "game/sample_slots.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "resources/resources.h"
#include "shell/display.h"
#include "shell/program_events.h"
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

bool quitRequested = false;
bool windowClosed = false;
std::uint32_t pacingDue = 0;

// Strict and unsigned: a deadline has passed on the first tick after it.
bool deadlinePassed() { return ActiveClock().now() > gameState.modeDeadline; }

void stepVolume(std::int32_t delta) {
    std::int32_t scale = gameState.volumeScale + delta;
    // FIX: both keys clamp to 0..320, not only the way each one moves: a
    // stored volume out of range would otherwise drive the sample volume
    // out of 0..64.
    if (scale > kVolumeScaleMax) scale = kVolumeScaleMax;
    if (scale < 0) scale = 0;
    gameState.volumeScale = scale;
    gameState.volume = scale / kVolumeDivisor;
    soundSystem.setSampleVolume(gameState.volume);
}

bool volumeKeyHeld() { return ActiveInput().keyHeld(VK_F6) || ActiveInput().keyHeld(VK_F7); }

void pollVolumeKeys() {
    if (ActiveInput().keyHeld(VK_F6)) stepVolume(+1);
    if (ActiveInput().keyHeld(VK_F7)) stepVolume(-1);
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
            // Desktop: play that begins while the keyboard is elsewhere
            // begins paused, on its first frame.
            if (TakePauseAtPlay()) {
                PlayFrame();
                gameState.mode = Paused;
                break;
            }
        }
        PlayFrame();
        break;
    default: PlayFrame(); break;
    }
}

// The next event for the program. A key going up changes only what is held,
// and makes no pass of its own.
bool takeProgramEvent(InputEvent& event) {
    if (windowClosed) return false;
    while (ActiveInput().takeEvent(event))
        if (event.kind != InputEvent::Kind::KeyUp) return true;
    return false;
}

PassResult whatIsDue() {
    PassResult result;
    // A quit waits only for the events already queued: the next pass is due now.
    result.nextPass = quitRequested ? ActiveClock().now() : pacingDue;
    result.idle = !quitRequested && (gameState.mode == Title || gameState.mode == Paused) && !volumeKeyHeld();
    return result;
}

}  // namespace

bool StartInstance() {
    // Desktop: the state trace, when one is asked for, starts with the program.
    if (!OpenStateTrace()) return false;
    char title[100];
    resources::LoadString(kTitleString, title, sizeof title);
    Desktop& desktop = ActiveDesktop();
    if (desktop.activateRunningCopy(kInstanceName) || !desktop.openWindow(title, kIconResource)) {
        CloseStateTrace();
        return false;
    }
    OnWindowCreated();
    pacingDue = ActiveClock().now() + kPacingPeriodMs;
    soundSystem.start(kMixRate, kMusicChannels, kVoices, kStereo);
    desktop.showWindow();
    StartDisplay();
    LoadGameSounds();
    soundSystem.setSampleVolume(gameState.volume);
    soundSystem.setMusicVolume(0);
    return true;
}

PassResult RunPass() {
    InputEvent event;
    if (takeProgramEvent(event)) {
        const EventOutcome outcome = HandleProgramEvent(event);
        if (outcome != EventOutcome::GoOn) quitRequested = true;
        if (outcome == EventOutcome::QuitAndClose) windowClosed = true;
    } else if (quitRequested) {
        return PassResult{false, pacingDue, false};
    } else {
        // The pacing tick; periods that went by unseen count as one.
        const std::uint32_t now = ActiveClock().now();
        if (windowClosed || !TickReached(now, pacingDue)) return whatIsDue();
        pacingDue = now + kPacingPeriodMs;
    }
    pollVolumeKeys();
    runModeFrame();
    // Desktop: the window learns the volume each pass, to show it over the picture.
    ActiveDesktop().passEnded({gameState.volume, kVolumeScaleMax / kVolumeDivisor, gameState.mode == Title});
    ActiveClock().sleep(1);
    TracePass();
    return whatIsDue();
}

int EndProgram() {
    StopDisplay();
    CloseStateTrace();
    return 0;  // every way out ends the program normally
}

int AppMain() {
    if (!StartInstance()) return 0;
    for (PassResult pass = RunPass(); pass.goOn; pass = RunPass()) ActiveClock().waitForPass(pass.nextPass, pass.idle);
    return EndProgram();
}
