#include "platform/desktop.h"

#include <unistd.h>

#include <string>

namespace platform {

const char* ExecutablePath() {
    static const std::string path = [] {
        char buffer[4096];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }();
    return path.c_str();
}

}  // namespace platform
