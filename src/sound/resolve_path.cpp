#include "sound/resolve_path.h"

#include <cstring>

#include "platform/desktop.h"

std::size_t resolvePath(char* out, const char* name) {
    if (out == nullptr || name == nullptr) return 0;
    const std::size_t nameLength = std::strlen(name);
    if (name[0] == '/' || name[0] == '\\') {
        // FIX: a path that does not fit the buffer is refused, not overrun.
        if (nameLength >= kPathCapacity) return 0;
        std::memcpy(out, name, nameLength + 1);
        return nameLength;
    }
    const char* program = platform::ExecutablePath();
    const std::size_t programLength = std::strlen(program);
    if (programLength >= kPathCapacity) return 0;
    const char* lastSeparator = nullptr;
    for (const char* c = program; *c != 0; ++c)
        if (*c == '/' || *c == '\\') lastSeparator = c;
    if (lastSeparator == nullptr) return 0;
    const std::size_t folderLength = static_cast<std::size_t>(lastSeparator - program) + 1;
    // FIX: a folder and name that together do not fit the buffer are refused.
    if (folderLength + nameLength >= kPathCapacity) return 0;
    std::memcpy(out, program, folderLength);
    std::memcpy(out + folderLength, name, nameLength + 1);
    return folderLength + nameLength;
}
