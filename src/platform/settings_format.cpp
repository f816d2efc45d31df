#include "platform/settings_format.h"

#include <nlohmann/json.hpp>

#include "platform/registry.h"

namespace platform {

namespace {

using Json = nlohmann::ordered_json;

constexpr unsigned kFormatVersion = 1;
constexpr const char* kRootName = "HKEY_CURRENT_USER";

struct TypeName {
    std::uint32_t type;
    const char* name;
};
constexpr TypeName kTypeNames[] = {
    {REG_NONE, "REG_NONE"},     {REG_SZ, "REG_SZ"},       {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
    {REG_BINARY, "REG_BINARY"}, {REG_DWORD, "REG_DWORD"}, {REG_MULTI_SZ, "REG_MULTI_SZ"},
};

bool isStringType(std::uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

Json typeToJson(std::uint32_t type) {
    for (const TypeName& known : kTypeNames)
        if (known.type == type) return known.name;
    return type;
}

bool typeFromJson(const Json& json, std::uint32_t& type) {
    if (json.is_string()) {
        for (const TypeName& known : kTypeNames)
            if (json == known.name) {
                type = known.type;
                return true;
            }
        return false;
    }
    if (!json.is_number_unsigned() || json.get<std::uint64_t>() > 0xFFFFFFFFu) return false;
    type = json.get<std::uint32_t>();
    return true;
}

// The readable rendering of a string value: UTF-8 up to its first zero unit,
// with U+FFFD for a surrogate that has no partner.
std::string utf8Of(const std::vector<std::uint16_t>& units) {
    std::string text;
    auto append = [&text](std::uint32_t c) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t i = 0; i < units.size() && units[i] != 0; ++i) {
        const std::uint32_t unit = units[i];
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const bool low = unit >= 0xDC00 && unit < 0xE000;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            append(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            append(high || low ? 0xFFFD : unit);
        }
    }
    return text;
}

Json describeValue(const SettingsValue& value) {
    const std::vector<std::uint8_t>& b = value.bytes;
    Json out;
    out["type"] = typeToJson(value.type);
    if (value.type == REG_DWORD && b.size() == 4) {
        out["dword"] =
            std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
    } else if (isStringType(value.type) && b.size() % 2 == 0) {
        std::vector<std::uint16_t> units;
        for (std::size_t i = 0; i < b.size(); i += 2) units.push_back(static_cast<std::uint16_t>(b[i] | b[i + 1] << 8));
        out["utf16"] = units;
        out["text"] = utf8Of(units);
    } else {
        static constexpr char kHex[] = "0123456789abcdef";
        std::string hex;
        for (std::uint8_t byte : b) {
            hex += kHex[byte >> 4];
            hex += kHex[byte & 15];
        }
        out["bytes"] = hex;
    }
    return out;
}

bool bytesFromDword(const Json& json, std::vector<std::uint8_t>& bytes) {
    if (!json.is_number_unsigned() || json.get<std::uint64_t>() > 0xFFFFFFFFu) return false;
    const std::uint32_t v = json.get<std::uint32_t>();
    bytes = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
             static_cast<std::uint8_t>(v >> 24)};
    return true;
}

bool bytesFromUtf16(const Json& json, std::vector<std::uint8_t>& bytes) {
    if (!json.is_array()) return false;
    for (const Json& unit : json) {
        if (!unit.is_number_unsigned() || unit.get<std::uint64_t>() > 0xFFFFu) return false;
        const auto u = unit.get<std::uint16_t>();
        bytes.push_back(static_cast<std::uint8_t>(u));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return true;
}

bool bytesFromHex(const Json& json, std::vector<std::uint8_t>& bytes) {
    if (!json.is_string()) return false;
    const std::string& hex = json.get_ref<const std::string&>();
    if (hex.size() % 2 != 0) return false;
    auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return true;
}

bool valueFromJson(const Json& json, SettingsValue& value, std::string& error) {
    if (!json.is_object()) {
        error = "is not an object";
        return false;
    }
    if (!json.contains("type") || !typeFromJson(json["type"], value.type)) {
        error = "has no type, or one that is not known";
        return false;
    }
    const int forms = static_cast<int>(json.contains("dword")) + static_cast<int>(json.contains("utf16")) +
                      static_cast<int>(json.contains("bytes"));
    if (forms != 1) {
        error = "needs exactly one of \"dword\", \"utf16\" or \"bytes\"";
        return false;
    }
    const bool read = json.contains("dword")   ? bytesFromDword(json["dword"], value.bytes)
                      : json.contains("utf16") ? bytesFromUtf16(json["utf16"], value.bytes)
                                               : bytesFromHex(json["bytes"], value.bytes);
    if (!read) error = "holds data that is out of range or malformed";
    return read;
}

bool treeFromJson(const Json& document, SettingsTree& keys, std::string& error) {
    if (!document.is_object()) {
        error = "the file is not a JSON object";
        return false;
    }
    if (!document.contains("version") || document["version"] != kFormatVersion) {
        error = "the file's \"version\" is missing or not " + std::to_string(kFormatVersion);
        return false;
    }
    if (!document.contains(kRootName)) return true;
    const Json& root = document[kRootName];
    if (!root.is_object()) {
        error = std::string("\"") + kRootName + "\" is not an object";
        return false;
    }
    for (const auto& [path, values] : root.items()) {
        if (!values.is_object()) {
            error = "key \"" + path + "\" is not an object";
            return false;
        }
        SettingsKey& key = keys[path];
        for (const auto& [name, json] : values.items()) {
            std::string why;
            if (!valueFromJson(json, key[name], why)) {
                error = "value \"" + name + "\" of key \"" + path + "\" " + why;
                return false;
            }
        }
    }
    return true;
}

}  // namespace

std::string SettingsToJson(const SettingsTree& keys) {
    Json root = Json::object();
    for (const auto& [path, values] : keys) {
        Json key = Json::object();
        for (const auto& [name, value] : values) key[name] = describeValue(value);
        root[path] = key;
    }
    Json document;
    document["version"] = kFormatVersion;
    document[kRootName] = root;
    return document.dump(2) + "\n";
}

bool SettingsFromJson(const std::string& text, SettingsTree& keys, std::string& error) {
    keys.clear();
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        error = "the file is not valid JSON";
        return false;
    }
    if (!treeFromJson(document, keys, error)) {
        keys.clear();
        return false;
    }
    return true;
}

}  // namespace platform
