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

#ifndef __wasi__
std::filesystem::path SettingsFilePath(const Options& options, const char* xdgConfigHome, const char* home) {
    if (options.settingsGiven) return std::filesystem::path(options.settingsDir) / "settings";
    if (options.headless) return {};
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the convention asks.
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        return std::filesystem::path(xdgConfigHome) / "orbitfend" / "settings";
    if (home != nullptr && home[0] != '\0') return std::filesystem::path(home) / ".config" / "orbitfend" / "settings";
    return {};
}
#endif

}  // namespace platform
