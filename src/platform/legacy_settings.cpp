#include "platform/legacy_settings.h"

#include <cstdint>
#include <map>
#include <optional>

#include <nlohmann/json.hpp>

namespace platform {

namespace {

using Json = nlohmann::json;

constexpr const char* kRoot = "HKEY_CURRENT_USER";
constexpr const char* kProgramKey = "Software\\quelm\\orbitfend";
constexpr std::uint32_t kRegDword = 4;
// The old file's values are at the fourth level; nothing it held went deeper
// than a string's array of code units at the fifth.
constexpr std::size_t kDeepestNesting = 6;

// clang-format off
struct Renamed { const char* legacy; const char* name; };
constexpr Renamed kRenamed[] = {
    {"HiScore", "high-score"},
    {"Sound",   "volume"},
};
// clang-format on

struct LegacyValue {
    bool typeIsDword = false;
    std::optional<std::uint32_t> dword;
};

// Follows the document event by event without building it, so that a file of
// any shape costs no more memory than its nesting, which is bounded.
class LegacyReader : public nlohmann::json_sax<Json> {
public:
    std::map<std::string, LegacyValue> values;  // the program key's values, by legacy name
    std::optional<std::uint64_t> version;
    std::string error;

    bool null() override { return scalar(); }
    bool boolean(bool) override { return scalar(); }
    bool number_integer(number_integer_t) override { return scalar(); }
    bool number_unsigned(number_unsigned_t n) override {
        if (!scalar()) return false;
        if (atTop("version")) version = n;
        if (LegacyValue* v = fieldOfValue("type")) v->typeIsDword = n == kRegDword;
        if (LegacyValue* v = fieldOfValue("dword"); v != nullptr && n <= 0xFFFFFFFFu)
            v->dword = static_cast<std::uint32_t>(n);
        return true;
    }
    bool number_float(number_float_t, const string_t&) override { return scalar(); }
    bool string(string_t& s) override {
        if (!scalar()) return false;
        if (LegacyValue* v = fieldOfValue("type")) v->typeIsDword = s == "REG_DWORD";
        return true;
    }
    bool binary(binary_t&) override { return scalar(); }
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool key(string_t& k) override {
        path_.back() = k;
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        error = "the file is not valid JSON";
        return false;
    }

private:
    bool open(bool object) {
        if (path_.empty() && !object) {
            error = "the file is not a JSON object";
            return false;
        }
        if (!path_.empty()) scalar();
        if (path_.size() >= kDeepestNesting) {
            error = "the file is nested too deeply";
            return false;
        }
        path_.emplace_back();
        return true;
    }
    bool close() {
        path_.pop_back();
        return true;
    }
    // Any value of the program's key counts as present, whatever its shape.
    bool scalar() {
        if (path_.empty()) {
            error = "the file is not a JSON object";
            return false;
        }
        if (path_.size() == 3 && path_[0] == kRoot && path_[1] == kProgramKey) values[path_[2]];
        return true;
    }
    bool atTop(const char* name) const { return path_.size() == 1 && path_[0] == name; }
    LegacyValue* fieldOfValue(const char* field) {
        if (path_.size() != 4 || path_[0] != kRoot || path_[1] != kProgramKey || path_[3] != field) return nullptr;
        return &values[path_[2]];
    }

    std::vector<std::string> path_;  // the key at each open level
};

}  // namespace

bool IsLegacySettings(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

bool ReadLegacySettings(std::string_view text, std::vector<std::pair<std::string, std::string>>& values,
                        std::string& error) {
    values.clear();
    LegacyReader reader;
    const bool parsed = Json::sax_parse(text, &reader);
    if (!parsed || reader.version != 1u) {
        error = !reader.error.empty() ? reader.error
                : parsed              ? "the file's \"version\" is missing or not 1"
                                      : "the file is not valid JSON";
        return false;
    }
    for (const Renamed& renamed : kRenamed) {
        const auto found = reader.values.find(renamed.legacy);
        if (found == reader.values.end()) continue;
        const LegacyValue& v = found->second;
        values.emplace_back(renamed.name, v.typeIsDword && v.dword ? std::to_string(static_cast<std::int32_t>(*v.dword))
                                                                   : "(not a REG_DWORD)");
    }
    return true;
}

}  // namespace platform
