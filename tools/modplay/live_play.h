// Playing a song through the machine's audio device, with a one-line
// progress display, until it ends or the user presses Ctrl-C.
#pragma once

#include <string>

#include "sound/song_player.h"

namespace modplay {

// 0 when the song played to its end or was stopped with Ctrl-C; 1 with a
// message on stderr when no audio device could be opened.
int PlayLive(Module& module, const SongOptions& options, const std::string& name);

}  // namespace modplay
