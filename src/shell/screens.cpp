#include "shell/screens.h"

#include "game/game.h"
#include "graphics/primitives.h"
#include "shell/game_state.h"
#include "shell/globals.h"

int DrawTitleScreen() {
    DrawStatusLine();
    backBuffer.blitKeyed(0, 0, 176, 220, gameState.titleImage, gameState.colourKey, 0, 0);
    return Present();
}

int DrawPausedScreen() {
    DrawStatusLine();
    backBuffer.blitKeyed(0, 102, 176, 8, gameState.pausedBanner, gameState.colourKey, 0, 0);
    return Present();
}

// The label over the world's last state. Nothing moves, but the explosions
// that are still running go on, and a cannon explosion that ends here settles
// its loss as it does in play.
int DrawGameOverScreen() {
    DrawStatusLine();
    DrawCell(cells::gameOverLabel, 67, 40);
    StopShipSound();
    gameState.shipSoundOn = 0;
    DrawCannon();
    DrawAliens();
    DrawShields();
    DrawGround();
    DrawShotAndBombs();
    DrawLives();
    return Present();
}
