// STAND-IN: nothing is stored until the settings store lands.
#include "shell/settings.h"

void LoadSettings() {}
void SaveSettings() {}
