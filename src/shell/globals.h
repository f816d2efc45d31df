// The program's long-lived objects. They are built once the platform is
// configured, in this order: the Surfaces background, backBuffer and display,
// the volume scale, the sound engine, the sample slots; and destroyed in the
// reverse order after AppMain has returned.
#pragma once

#include "graphics/surface.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

constexpr int kSampleSlots = 15;

extern Surface& background;
extern Surface& backBuffer;
extern Surface& display;
extern SoundSystem& soundSystem;
extern Sample (&samples)[kSampleSlots];

void ConstructProgramObjects();
void DestroyProgramObjects();
