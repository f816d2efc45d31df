// The high score and the volume, kept between runs, and the user's key-press
// sound, silenced while the program runs and given back when it ends.
// Main thread only.
#pragma once

// On window creation, before the sound engine starts: reads `highScore` and
// `volume` (left at 0 and 16 when absent or unreadable), keeps the user's
// key-press values and silences them.
void LoadSettings();

// On the way out, before the sound engine is shut down: writes `highScore` and
// `volume` and gives the user's key-press values back. Only the first call of
// a run does anything.
void SaveSettings();
