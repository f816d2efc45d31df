// Playing a song through the machine's audio device, with a one-line
// progress display on a terminal, until the last of it has been heard or
// the user stops it with Ctrl-C or SIGTERM.
#pragma once

#include <string>

#include "sound/song_player.h"

namespace modplay {

// Exit code for a machine with no audio device to play on.
constexpr int kNoAudioDevice = 3;

// Plays on the active audio out. 0 when the song was heard to its end or was
// stopped by SIGINT or SIGTERM; kNoAudioDevice, with a message on stderr,
// when no device could be opened.
int PlayLive(Module& module, const SongOptions& options, const std::string& name);

}  // namespace modplay
