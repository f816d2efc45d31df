#include "shell/legacy_settings.h"

#include <cstdint>

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

// The old file's values lie at the fourth level; nothing it held went deeper
// than a string's array of code units at the fifth. Anything deeper is dropped
// as it is read, so that no shape of file costs more than its size.
constexpr int kDeepestNesting = 5;

// clang-format off
struct Renamed { const char* legacy; const char* name; };
constexpr Renamed kRenamed[] = {
    {"HiScore", "high-score"},
    {"Sound",   "volume"},
};
// clang-format on

const Json* member(const Json& object, const char* name) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

// The number 1.0 meant by a 4-byte REG_DWORD: it wrote a signed 32-bit value.
std::string dwordText(const Json& value) {
    const Json* type = member(value, "type");
    const Json* dword = member(value, "dword");
    const bool isDword = type != nullptr && (*type == "REG_DWORD" || *type == 4) && dword != nullptr &&
                         dword->is_number_unsigned() && *dword <= 0xFFFFFFFFu;
    if (!isDword) return "(not a REG_DWORD)";
    return std::to_string(static_cast<std::int32_t>(dword->get<std::uint32_t>()));
}

}  // namespace

bool IsLegacySettings(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

bool ReadLegacySettings(std::string_view text, std::vector<std::pair<std::string, std::string>>& values,
                        std::string& error) {
    values.clear();
    const auto shallow = [](int depth, Json::parse_event_t, Json&) { return depth <= kDeepestNesting; };
    const Json file = Json::parse(text, shallow, false);
    if (file.is_discarded() || !file.is_object()) {
        error = file.is_discarded() ? "the file is not valid JSON" : "the file is not a JSON object";
        return false;
    }
    const Json* version = member(file, "version");
    if (version == nullptr || *version != 1) {
        error = "the file's \"version\" is missing or not 1";
        return false;
    }
    const Json* root = member(file, "HKEY_CURRENT_USER");
    const Json* program = root == nullptr ? nullptr : member(*root, "Software\\quelm\\orbitfend");
    if (program == nullptr) return true;
    for (const Renamed& renamed : kRenamed)
        if (const Json* value = member(*program, renamed.legacy)) values.emplace_back(renamed.name, dwordText(*value));
    return true;
}
