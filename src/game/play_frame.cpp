// STAND-IN: the play frame only restores the background and presents, until
// the game lands.
#include "game/game.h"
#include "graphics/primitives.h"
#include "graphics/surface.h"

int PlayFrame() {
    DrawStatusLine();
    return Present();
}

void DrawAliens() {}
void DrawShields() {}
void DrawGround() {}
void DrawShotAndBombs() {}
void DrawCannon() {}
void DrawLives() {}
