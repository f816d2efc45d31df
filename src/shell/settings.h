// The high score and the volume, kept between runs in the active settings
// store. Main thread only.
#pragma once

// On window creation, before the sound engine starts: reads `highScore` and
// `volume`. A value that is absent stays at its default (0 and 16); one that
// is not a whole number, or is out of its range, says so on stderr and takes
// its default too, except that a volume outside 0..64 is brought to the
// nearer end.
void LoadSettings();

// On the way out, before the sound engine is shut down: writes `highScore` and
// `volume`. Only the first call of a run does anything.
void SaveSettings();
