#include "shell/globals.h"

#include <new>

#include "shell/game_state.h"

GameState gameState;

namespace {

// Sets volumeScale from the built-in volume, in its place in the order.
struct VolumeScaleDefault {
    VolumeScaleDefault() { gameState.volumeScale = gameState.volume * 5; }
};

// Members are constructed in declaration order and destroyed in reverse.
struct ProgramObjects {
    Surface background;
    Surface backBuffer;
    Surface display;
    VolumeScaleDefault volumeScale;
    SoundSystem soundSystem;
    Sample samples[kSampleSlots];
};

// The objects read the display's geometry when they are built, which the
// command line decides, so they live in storage of their own and are built
// by the entry rather than by static initialisation.
union ProgramObjectsStorage {
    ProgramObjectsStorage() {}
    ~ProgramObjectsStorage() {}
    ProgramObjects objects;
} storage;

}  // namespace

Surface& background = storage.objects.background;
Surface& backBuffer = storage.objects.backBuffer;
Surface& display = storage.objects.display;
SoundSystem& soundSystem = storage.objects.soundSystem;
Sample (&samples)[kSampleSlots] = storage.objects.samples;

void ConstructProgramObjects() { new (&storage.objects) ProgramObjects(); }

void DestroyProgramObjects() {
    // Sample slots 14 down to 0, the engine, then the three Surfaces.
    storage.objects.~ProgramObjects();
}
