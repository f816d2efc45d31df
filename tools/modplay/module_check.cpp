#include "module_check.h"

#include <algorithm>
#include <cstring>

#include "sound/module_format.h"

namespace modplay {

namespace {

constexpr const char* kSignatures[] = {"M.K.", "M!K!", "4CHN", "FLT4"};

std::string Printable(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += bytes[i] >= 32 && bytes[i] < 127 ? static_cast<char>(bytes[i]) : '?';
    return text;
}

}  // namespace

bool CheckFourTrackModule(const std::uint8_t* image, std::size_t size, std::string& reason) {
    if (size < kPatternsOffset) {
        reason = "too short for a module header (" + std::to_string(size) + " bytes)";
        return false;
    }
    const std::uint8_t* signature = image + kSignatureOffset;
    const bool known = std::any_of(std::begin(kSignatures), std::end(kSignatures),
                                   [&](const char* s) { return std::memcmp(signature, s, 4) == 0; });
    if (!known) {
        reason = "not a four-track 31-sample module (signature \"" + Printable(signature, 4) +
                 "\"; M.K., M!K!, 4CHN or FLT4 expected)";
        return false;
    }
    const std::uint32_t length = image[kSongLengthOffset];
    if (length == 0 || length > kOrderCount) {
        reason = "song length " + std::to_string(length) + " is not 1..128";
        return false;
    }
    std::uint32_t highest = 0;
    for (std::uint32_t i = 0; i < length; ++i) highest = std::max<std::uint32_t>(highest, image[kOrderTableOffset + i]);
    const std::size_t needed = SampleDataOffset(highest + 1);
    if (size < needed) {
        reason = "truncated: its " + std::to_string(highest + 1) + " patterns need " + std::to_string(needed) +
                 " bytes, the file has " + std::to_string(size);
        return false;
    }
    return true;
}

}  // namespace modplay
