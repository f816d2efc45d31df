#include "platform/settings_store.h"

namespace platform {

namespace {
SettingsStore* activeStore = nullptr;
}

std::optional<std::string> MemorySettingsStore::value(std::string_view name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

void SetActiveSettingsStore(SettingsStore* store) { activeStore = store; }

SettingsStore& ActiveSettingsStore() {
    static MemorySettingsStore memoryOnly;
    return activeStore != nullptr ? *activeStore : memoryOnly;
}

}  // namespace platform
