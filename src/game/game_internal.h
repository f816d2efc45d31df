// The game's own operations, called by the play frame and the set-up, and by
// the tests that drive single rules. Main thread only; all of them work on
// the global gameState.
#pragma once

#include <cstdint>

#include "game/world.h"

// Set-up builders: whole shields (the shield shape), a whole ground line, the
// formation of the current wave, every alien alive in frame 0.
void BuildShields();
void BuildGround();
void BuildFormation();

// Moves the next alien in the march order (one alien per call) and ends the
// sweep after the last one; may end the game when an alien steps below the
// cannon's line. Needs at least one alien that is AlienAlive.
void MarchFormation();
// The alien at march position 0..54 for the current direction of the march.
Alien& AlienAtMarchPosition(std::int32_t position);

// Lets each column without a bomb in the air drop one, 1 time in 250.
void DropBombs();
// The shot 2 pixels up, every falling bomb 1 pixel down.
void MoveShots();

// Chooses the side and the value of the next ship and makes it due 24000 ms
// from now.
void ArmMysteryShip();
// Half a pixel per call while flying; re-arms the ship once it has left the screen.
void MoveMysteryShip();
void DrawMysteryShip();
// Points of the ship's value for kind 0..4.
std::int32_t MysteryShipValue(std::int32_t kind);

// Every hit test of one frame, in its fixed order.
void ResolveCollisions();
// Points of a hit on an alien of row 0..4.
std::int32_t AlienPoints(int row);
