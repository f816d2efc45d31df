// The game's operations that the shell calls: setting up a game, a round and
// the cannon, the play frame, and the drawing that the game-over screen reuses.
// Main thread only.
#pragma once

// score 0, wave 0, three lives, a new round laid out, the cannon placed.
void NewGame();
// A full formation for the current wave, whole shields and ground, the cannon at its start, no shot.
void NewRound();
// The cannon alive at its start; the mystery ship re-armed unless one has begun to fly.
void ResetCannon();
// One frame of play in RoundStart, Playing or LifeLost, paced to at least
// 20 ms after the previous one; returns Present's result.
int PlayFrame();

// Stops the mystery ship's loop if the channel in shipChannel still plays it,
// and forgets the channel (shipChannel becomes 65535). Harmless when the engine
// is not running or the channel has been reused.
void StopShipSound();

// Drawing of the world into backBuffer (each also advances the explosions it shows).
void DrawAliens();
void DrawShields();
void DrawGround();
void DrawShotAndBombs();
// May settle a lost cannon: the mode becomes LifeLost or GameOver.
void DrawCannon();
void DrawLives();
