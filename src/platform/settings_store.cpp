#include "platform/settings_store.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "platform/atomic_file.h"
#include "platform/settings_format.h"

namespace platform {

namespace {

bool readWholeFile(const std::filesystem::path& file, std::string& text, std::string& error) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (in == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(in) != 0;
    if (failed) error = std::strerror(errno);
    std::fclose(in);
    return !failed;
}

// "settings.corrupt-20240131-235959", with "-2", "-3"... should that be taken.
std::filesystem::path asideName(const std::filesystem::path& file) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = file.string() + ".corrupt-" + stamp;
    std::filesystem::path candidate = base;
    std::error_code ec;
    for (int n = 2; std::filesystem::symlink_status(candidate, ec).type() != std::filesystem::file_type::not_found; ++n)
        candidate = base + "-" + std::to_string(n);
    return candidate;
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {
    std::error_code ec;
    if (std::filesystem::symlink_status(file_, ec).type() == std::filesystem::file_type::not_found) return;
    std::string text, reason;
    if (!readWholeFile(file_, text, reason)) {
        setAside("it cannot be read (" + reason + ")");
        return;
    }
    if (!SettingsFromJson(text, keys_, reason)) setAside("it cannot be understood (" + reason + ")");
}

void SettingsStore::setAside(const std::string& reason) {
    keys_.clear();
    const std::filesystem::path aside = asideName(file_);
    std::error_code ec;
    std::filesystem::rename(file_, aside, ec);
    if (ec) {
        // Never overwrite what could not be moved: this run keeps its settings in memory.
        std::fprintf(stderr,
                     "orbitfend: the settings file %s is not used: %s, and it cannot be moved aside (%s); "
                     "this run starts from the defaults and saves nothing\n",
                     file_.c_str(), reason.c_str(), ec.message().c_str());
        file_.clear();
        return;
    }
    std::fprintf(stderr,
                 "orbitfend: the settings file %s is not used: %s; it was moved to %s and the settings "
                 "start from the defaults\n",
                 file_.c_str(), reason.c_str(), aside.c_str());
}

bool SettingsStore::save() {
    if (file_.empty()) return true;
    std::string error;
    if (ReplaceFileAtomically(file_, SettingsToJson(keys_), error)) return true;
    std::fprintf(stderr, "orbitfend: the settings were not saved: %s\n", error.c_str());
    return false;
}

std::filesystem::path SettingsFilePath(const Options& options, const char* xdgConfigHome, const char* home) {
    if (options.settingsGiven) return std::filesystem::path(options.settingsDir) / "settings";
    if (options.headless) return {};
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the convention asks.
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        return std::filesystem::path(xdgConfigHome) / "orbitfend" / "settings";
    if (home != nullptr && home[0] != '\0') return std::filesystem::path(home) / ".config" / "orbitfend" / "settings";
    return {};
}

SettingsStore& TheSettingsStore() {
    static std::unique_ptr<SettingsStore> store;
    if (!store) {
        const std::filesystem::path file =
            SettingsFilePath(CurrentOptions(), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
        store = file.empty() ? std::make_unique<SettingsStore>() : std::make_unique<SettingsStore>(file);
    }
    return *store;
}

}  // namespace platform
