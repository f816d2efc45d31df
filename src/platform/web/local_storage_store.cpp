#include "platform/web/local_storage_store.h"

#include <cstdint>
#include <string_view>

#define ORBITFEND_IMPORT(name) __attribute__((import_module("orbitfend"), import_name(#name)))

// The JSON text of setting `name` into `out`; its length, or -1 when there is none fit to use.
extern "C" ORBITFEND_IMPORT(settings_load) std::int32_t
    settings_load(const char* name, std::uint32_t nameLength, char* out, std::uint32_t capacity);
// Stores the JSON text of a setting; 0 when the page refused it.
extern "C" ORBITFEND_IMPORT(settings_save) std::int32_t
    settings_save(const char* name, std::uint32_t nameLength, const char* text, std::uint32_t textLength);

namespace platform::web {

namespace {

// The program's names for its settings, and the page's for the same.
struct KeyName {
    std::string_view program;
    std::string_view page;
};
// clang-format off
constexpr KeyName kKeys[] = {
    {"high-score", "highScore"},
    {"volume",     "volume"},
};
// clang-format on

// Both settings are whole numbers, which are JSON texts as they stand.
constexpr std::uint32_t kCapacity = 64;

}  // namespace

void LocalStorageStore::load() {
    for (const KeyName& key : kKeys) {
        char text[kCapacity];
        const std::int32_t length =
            settings_load(key.page.data(), static_cast<std::uint32_t>(key.page.size()), text, kCapacity);
        if (length >= 0 && length <= static_cast<std::int32_t>(kCapacity))
            values_[std::string(key.program)] = std::string(text, static_cast<std::size_t>(length));
    }
}

bool LocalStorageStore::save() {
    bool kept = true;
    for (const KeyName& key : kKeys) {
        const auto found = values_.find(key.program);
        if (found == values_.end()) continue;
        kept = settings_save(key.page.data(), static_cast<std::uint32_t>(key.page.size()), found->second.data(),
                             static_cast<std::uint32_t>(found->second.size())) != 0 &&
               kept;
    }
    return kept;
}

}  // namespace platform::web
