// The shields and the ground line, plotted cell by cell in green.
#include "game/game.h"
#include "game/game_state.h"
#include "graphics/pixel_format.h"
#include "graphics/surface.h"

void DrawShields() {
    const NativePixel green = backBuffer.nativeColour(kGreen);
    for (int s = 0; s < kShields; ++s)
        for (int cy = 0; cy < kShieldRows; ++cy)
            for (int cx = 0; cx < kShieldColumns; ++cx)
                if (gameState.shields[s][cx][cy]) backBuffer.plot(ShieldLeft(s) + cx, kShieldTop + cy, green);
}

void DrawGround() {
    const NativePixel green = backBuffer.nativeColour(kGreen);
    for (int x = 0; x < kGroundCells; ++x)
        if (gameState.ground[x]) backBuffer.plot(x, groundY, green);
}
