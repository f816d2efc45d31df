// The high score and the volume, kept between runs, and the user's key-press
// sound, silenced while the program runs and given back when it ends.
#pragma once

void LoadSettings();
void SaveSettings();
