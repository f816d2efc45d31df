// The table of resources compiled into the executable (generated at build time).
#pragma once

#include <cstddef>
#include <cstdint>

namespace resources {

struct EmbeddedResource {
    const char* type;  // "BITMAP", "ICON", "WAVE", "PTMOD", "STRING"; null ends the table
    std::uint32_t id;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedResource embeddedResources[];

}  // namespace resources
