// Replacing a file so that a crash or a power loss at any moment leaves either
// its old content or its new content, never a mixture or nothing.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

// Writes `bytes` to a temporary file beside `file` (".<name>.XXXXXX"), flushes
// it to the disk, renames it over `file` and flushes the directory. Creates
// the directory when it is missing. On failure returns false with the reason
// in `error`, leaves `file` as it was and removes the temporary file. The
// temporary file is locked while it exists, so that a sweep can tell a live
// write from a killed one.
bool ReplaceFileAtomically(const std::filesystem::path& file, const std::string& bytes, std::string& error);

// Removes the temporary files beside `file` that writers killed mid-write
// left behind; a file that a live writer holds is left alone. Quietly does
// nothing where the directory cannot be read.
void RemoveStaleTemporaries(const std::filesystem::path& file);

}  // namespace platform
