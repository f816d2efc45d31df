// Resources by type and number, from the table compiled into the executable,
// less any that the run's options drop.
#include <unistd.h>
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/embedded_resources.h"
#include "platform/options.h"
#include "platform/platform.h"

namespace platform {

namespace {

bool dropped(const char* type, std::uint32_t id) {
    const auto& list = CurrentOptions().droppedResources;
    return std::any_of(list.begin(), list.end(),
                       [&](const auto& entry) { return entry.second == id && entry.first == type; });
}

}  // namespace

ResourceBytes FindResource(const char* type, std::uint32_t id) {
    if (type == nullptr || dropped(type, id)) return {};
    for (const EmbeddedResource* r = embeddedResources; r->type != nullptr; ++r) {
        if (r->id == id && std::strcmp(r->type, type) == 0) return {r->data, r->size};
    }
    return {};
}

int LoadString(std::uint32_t id, char* buffer, int bufferSize) {
    if (buffer == nullptr || bufferSize < 1) return 0;
    ResourceBytes text = FindResource("STRING", id);
    if (text.data == nullptr) {
        buffer[0] = 0;
        return 0;
    }
    std::size_t length = text.size;
    while (length > 0 && (text.data[length - 1] == '\n' || text.data[length - 1] == '\r')) --length;
    length = std::min(length, static_cast<std::size_t>(bufferSize - 1));
    std::memcpy(buffer, text.data, length);
    buffer[length] = 0;
    return static_cast<int>(length);
}

const char* ExecutablePath() {
    static std::string path = [] {
        char buffer[4096];
        ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }();
    return path.c_str();
}

}  // namespace platform
