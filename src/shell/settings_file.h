// The settings store of the desktop and of headless runs given --settings
// DIR: the player's file of notes and "name = value" lines
// (settings_text.h), kept on the platform's stored file, which writes it
// atomically and sets aside a file that cannot be used. The JSON file of
// orbitfend 1.0 (legacy_settings.h) is read once and rewritten as text at the
// next save. Main thread only.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/settings_store.h"
#include "platform/stored_file.h"
#include "shell/settings_text.h"

class SettingsFile : public platform::SettingsStore {
public:
    explicit SettingsFile(std::filesystem::path file) : file_(std::move(file)) {}

    void load() override;
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, std::string_view text, std::string_view note) override;
    bool save() override;

private:
    platform::StoredFile file_;
    bool loaded_ = false;
    SettingsText text_;
    std::vector<std::pair<std::string, std::string>> fromOldFile_;  // until saved in the new form
};
