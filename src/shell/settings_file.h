// The settings store of the desktop and of headless runs given --settings
// DIR: the player's file of notes and "name = value" lines
// (settings_text.h), kept on the stored file (stored_file.h), which writes it
// atomically and sets aside a file that cannot be used. The JSON file of
// orbitfend 1.0 (legacy_settings.h) is read once and rewritten as text at the
// next save. Main thread only.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/settings_store.h"
#include "shell/options.h"
#include "shell/settings_text.h"
#include "shell/stored_file.h"

class SettingsFile : public platform::SettingsStore {
public:
    explicit SettingsFile(std::filesystem::path file) : file_(std::move(file)) {}

    void load() override;
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, std::string_view text, std::string_view note) override;
    bool save() override;

private:
    StoredFile file_;
    bool loaded_ = false;
    SettingsText text_;
    std::vector<std::pair<std::string, std::string>> fromOldFile_;  // until saved in the new form
};

// Where a run with `options` keeps its settings file, given the environment's
// XDG_CONFIG_HOME and HOME (each may be null): "--settings DIR" gives
// DIR/settings; a headless run without it keeps its settings in memory (an
// empty result), so that tests never touch the user's own file; otherwise
// $XDG_CONFIG_HOME/orbitfend/settings, or ~/.config/orbitfend/settings.
std::filesystem::path SettingsFilePath(const Options& options, const char* xdgConfigHome, const char* home);
