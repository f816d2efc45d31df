// The --info report: what a module holds and how long it plays.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "sound/module.h"
#include "sound/song_player.h"

namespace modplay {

// Writes the title, song length, patterns, samples and the duration of one
// pass as `options` play it to `out`.
void PrintSongInfo(std::FILE* out, const Module& module, const SongOptions& options);

// "m:ss.s" for a number of frames at `rate`.
std::string FormatTime(std::uint64_t frames, std::uint32_t rate);

}  // namespace modplay
