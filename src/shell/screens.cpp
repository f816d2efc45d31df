#include "shell/screens.h"

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

// STAND-IN: the label only; the world's last state arrives with the game.
int DrawGameOverScreen() {
    DrawStatusLine();
    DrawCell(cells::gameOverLabel, 67, 40);
    return Present();
}
