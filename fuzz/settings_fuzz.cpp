// Feeds arbitrary bytes to the settings readers as the program chooses
// between them: text with a NUL in it is not read at all, text that opens
// with '{' is orbitfend 1.0's JSON, anything else today's text. Neither reader
// may fail on any input, a rewrite of the text must read back as written, and
// the old file may yield only the program's two values, each a 32-bit number
// or a note that it is not one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/legacy_settings.h"
#include "shell/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.find('\0') != std::string_view::npos) return 0;

    if (IsLegacySettings(input)) {
        std::vector<std::pair<std::string, std::string>> values;
        std::string error;
        if (ReadLegacySettings(input, values, error)) {
            for (const auto& [name, number] : values) {
                if (name != "high-score" && name != "volume") std::abort();
                if (number != "(not a REG_DWORD)" && std::to_string(std::stoi(number)) != number) std::abort();
            }
        } else if (error.empty()) {
            std::abort();
        }
        return 0;
    }

    std::vector<std::size_t> ignored;
    SettingsText text = SettingsText::Parse(input, &ignored);
    const std::string_view value = input.substr(0, 64);
    text.set("fuzz.value", value, value);
    const std::string written = text.text();
    const SettingsText reread = SettingsText::Parse(written);
    if (reread.text() != written || reread.value("fuzz.value") != text.value("fuzz.value")) std::abort();
    return 0;
}
