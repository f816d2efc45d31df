#include <new>

#include "sound/sample.h"
#include "sound/sound_system.h"

namespace {

// Members are constructed in declaration order and destroyed in reverse.
struct ProgramSounds {
    SoundSystem soundSystem;
    Sample samples[kSampleTableSlots];
};

// Built on request, after the Surfaces, rather than by static initialisation,
// so that the program keeps one order for everything it builds.
union ProgramSoundsStorage {
    ProgramSoundsStorage() {}
    ~ProgramSoundsStorage() {}
    ProgramSounds sounds;
} storage;

}  // namespace

SoundSystem& soundSystem = storage.sounds.soundSystem;
Sample (&samples)[kSampleTableSlots] = storage.sounds.samples;

void ConstructSoundObjects() { new (&storage.sounds) ProgramSounds(); }

void DestroySoundObjects() { storage.sounds.~ProgramSounds(); }
