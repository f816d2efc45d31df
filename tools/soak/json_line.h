// Reads one line of a state trace as JSON (RFC 8259, strict: one value, no
// comments, strings of valid UTF-8) without building anything, noting the
// outer object's member names and its "pass" and "tick" when they are
// unsigned integers. Hours of trace are read this way, several times faster
// than through a JSON library's events.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soak {

struct JsonLineFacts {
    std::vector<std::string> names;     // the outer object's member names, in order, escapes decoded
    std::optional<std::uint64_t> pass;  // the last "pass" member, when an integer in 0..2^64-1
    std::optional<std::uint64_t> tick;  // the same for "tick"
};

// False when `line` is not one JSON value (blanks around it allowed), or not
// an object; `facts` is then incomplete.
bool ReadJsonObjectLine(std::string_view line, JsonLineFacts& facts);

}  // namespace soak
