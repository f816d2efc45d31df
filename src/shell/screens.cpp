#include "shell/screens.h"

#include "game/game.h"
#include "game/game_state.h"
#include "graphics/primitives.h"
#include "graphics/surface.h"

int DrawTitleScreen() {
    DrawStatusLine(gameState.score, gameState.highScore);
    backBuffer.blitKeyed(0, 0, 176, 220, titleImage, colourKey, 0, 0);
    return Present();
}

int DrawPausedScreen() {
    DrawStatusLine(gameState.score, gameState.highScore);
    backBuffer.blitKeyed(0, 102, 176, 8, pausedBanner, colourKey, 0, 0);
    return Present();
}

// The label over the world's last state. Nothing moves, but the explosions
// that are still running go on, and a cannon explosion that ends here settles
// its loss as it does in play.
int DrawGameOverScreen() {
    DrawStatusLine(gameState.score, gameState.highScore);
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
