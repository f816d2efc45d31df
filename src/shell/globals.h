// The program's long-lived objects. They are built once the platform is
// configured, in this order: the Surfaces background, backBuffer and display
// (graphics/surface.h), the volume scale (game/game_state.h), the sound engine
// and the sample slots (sound/sound_system.h, sound/sample.h); and destroyed
// in the reverse order after AppMain has returned.
#pragma once

void ConstructProgramObjects();
void DestroyProgramObjects();
