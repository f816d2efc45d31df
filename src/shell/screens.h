// The frames of the three modes in which the game does not play. Each draws
// one whole frame into backBuffer and returns Present's result.
#pragma once

int DrawTitleScreen();
int DrawPausedScreen();
int DrawGameOverScreen();
