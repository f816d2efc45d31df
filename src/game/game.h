// The game's operations that the shell calls: setting up a game, a round and
// the cannon, the play frame, and the drawing that the game-over screen reuses.
#pragma once

// score 0, wave 0, three lives, a new round laid out, the cannon placed.
void NewGame();
// A full formation for the current wave, whole shields and ground, the cannon at its start, no shot.
void NewRound();
// The cannon alive at its start; the mystery ship re-armed unless one has begun to fly.
void ResetCannon();
// One frame of play in RoundStart, Playing or LifeLost; returns Present's result.
int PlayFrame();

// Drawing of the world (each also advances the explosions it shows).
void DrawAliens();
void DrawShields();
void DrawGround();
void DrawShotAndBombs();
void DrawCannon();
void DrawLives();
