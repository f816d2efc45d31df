// Resources by type and number, from the table compiled into the executable,
// less any that the run dropped.
#include "resources/resources.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "resources/embedded_resources.h"

namespace resources {

namespace {

std::vector<std::pair<std::string, std::uint32_t>> dropped;

bool isDropped(const char* type, std::uint32_t id) {
    return std::any_of(dropped.begin(), dropped.end(),
                       [&](const auto& entry) { return entry.second == id && entry.first == type; });
}

}  // namespace

void DropResource(const char* type, std::uint32_t id) { dropped.emplace_back(type, id); }

ResourceBytes FindResource(const char* type, std::uint32_t id) {
    if (type == nullptr || isDropped(type, id)) return {};
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

}  // namespace resources
