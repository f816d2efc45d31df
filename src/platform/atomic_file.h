// Replacing a file so that a crash or a power loss at any moment leaves either
// its old content or its new content, never a mixture or nothing.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

// Writes `bytes` to a temporary file beside `file`, flushes it to the disk,
// renames it over `file` and flushes the directory. Creates the directory
// when it is missing. On failure returns false with the reason in `error`,
// leaves `file` as it was and removes the temporary file.
bool ReplaceFileAtomically(const std::filesystem::path& file, const std::string& bytes, std::string& error);

}  // namespace platform
