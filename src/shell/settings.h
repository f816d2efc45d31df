// The high score and the volume, kept between runs in the active settings
// store. Main thread only.
#pragma once

#include <memory>

#include "platform/settings_store.h"
#include "shell/options.h"

// The store for a run with `options` in this environment: the settings file
// at SettingsFilePath (settings_file.h), or one in memory when that is empty (and
// always in WebAssembly, which has no files). Reads nothing yet.
std::unique_ptr<platform::SettingsStore> MakeSettingsStore(const Options& options);

// On window creation, before the sound engine starts: reads `highScore` and
// `volume`. A value that is absent stays at its default (0 and 16); one that
// is not a whole number, or is out of its range, says so on stderr and takes
// its default too, except that a volume outside 0..64 is brought to the
// nearer end.
void LoadSettings();

// On the way out, before the sound engine is shut down: writes `highScore` and
// `volume`. Only the first call of a run does anything.
void SaveSettings();
