#include "platform/settings_store.h"

#include <cstdlib>

#include "platform/null/null_settings_store.h"
#ifndef __wasi__
#include "platform/settings_file.h"
#endif

namespace platform {

namespace {
SettingsStore* activeStore = nullptr;
}

void SetActiveSettingsStore(SettingsStore* store) { activeStore = store; }

SettingsStore& ActiveSettingsStore() {
    static NullSettingsStore memoryOnly;
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

std::unique_ptr<SettingsStore> MakeSettingsStore(const Options& options) {
    const std::filesystem::path file = SettingsFilePath(options, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (file.empty()) return std::make_unique<NullSettingsStore>();
    return std::make_unique<SettingsFile>(file);
}
#else
std::unique_ptr<SettingsStore> MakeSettingsStore(const Options&) { return std::make_unique<NullSettingsStore>(); }
#endif

}  // namespace platform
