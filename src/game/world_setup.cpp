// STAND-IN: the world's set-up arrives with the game.
#include "game/game.h"
#include "shell/game_state.h"

void NewGame() {
    gameState.score = 0;
    gameState.wave = 0;
    gameState.cannon.lives = 3;
    NewRound();
    ResetCannon();
}

void NewRound() {}

void ResetCannon() {
    gameState.cannon.x = cannonStartX;
    gameState.cannon.y = cannonY;
    gameState.cannon.state = 1;
}
