// This user's settings store: keys holding typed values, below
// HKEY_CURRENT_USER, kept in one human-readable file or in memory alone.
//
// The file is rewritten whole and atomically on every save, so a crash or a
// power loss leaves either the old file or the new one. A file that cannot be
// read or understood is never overwritten: it is moved aside as
// "<name>.corrupt-<timestamp>", the program says so on stderr, and the store
// starts empty. Main thread only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/options.h"

namespace platform {

struct SettingsValue {
    std::uint32_t type = 0;           // REG_DWORD, REG_SZ, ... (registry.h)
    std::vector<std::uint8_t> bytes;  // exactly as written, any length
    friend bool operator==(const SettingsValue&, const SettingsValue&) = default;
};
using SettingsKey = std::map<std::string, SettingsValue>;  // by value name
using SettingsTree = std::map<std::string, SettingsKey>;   // by key path, e.g. "Software\\quelm\\orbitfend"

class SettingsStore {
public:
    // A store that lives in memory only and is gone when the process ends.
    SettingsStore() = default;
    // A store kept in `file`, read now; a missing file is an empty store.
    explicit SettingsStore(std::filesystem::path file);

    SettingsTree& keys() { return keys_; }
    const SettingsTree& keys() const { return keys_; }

    // Writes every key to the file (nothing to do in memory). On failure says
    // why on stderr and returns false; the file keeps its previous content.
    bool save();

    // Empty when the store lives in memory only.
    const std::filesystem::path& file() const { return file_; }

private:
    void setAside(const std::string& reason);

    std::filesystem::path file_;
    SettingsTree keys_;
};

// Where a run with `options` keeps its settings file, given the environment's
// XDG_CONFIG_HOME and HOME (each may be null): "--settings DIR" gives
// DIR/settings; a headless run without it keeps its settings in memory (an
// empty result), so that tests never touch the user's own file; otherwise
// $XDG_CONFIG_HOME/orbitfend/settings, or ~/.config/orbitfend/settings.
std::filesystem::path SettingsFilePath(const Options& options, const char* xdgConfigHome, const char* home);

// This run's store, opened on first use from CurrentOptions() and the environment.
SettingsStore& TheSettingsStore();

}  // namespace platform
