// Where the sound loaders look for a named file.
#pragma once

#include <cstddef>

// Characters in a resolved path's buffer, the terminating zero included.
constexpr std::size_t kPathCapacity = 512;

// Writes the full path for `name` into `out` (kPathCapacity characters) and
// returns its length, or 0 when there is none. A name that begins with '/' or
// '\' is absolute and copied unchanged; any other is taken from the folder of
// the running executable.
std::size_t resolvePath(char* out, const char* name);
