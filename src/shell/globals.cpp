#include "shell/globals.h"

#include "game/game_state.h"
#include "graphics/surface.h"
#include "sound/sound_system.h"

void ConstructProgramObjects() {
    ConstructSurfaces();
    gameState.volumeScale = gameState.volume * 5;
    ConstructSoundObjects();
}

void DestroyProgramObjects() {
    // Sample slots 14 down to 0, the engine, then the three Surfaces.
    DestroySoundObjects();
    DestroySurfaces();
}
