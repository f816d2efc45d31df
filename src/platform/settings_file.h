// The settings store kept in a plain text file (settings_text.h) that a person
// can read and edit.
//
// The file is replaced whole and atomically when saved, so a crash or a power
// loss leaves the old file or the new one. A file that is a symbolic link is
// written through to its target, in the target's folder. Temporary files left
// by saves that were killed are removed when the store is loaded.
//
// A file that cannot be used (larger than 1 MB, not text, or an old file that
// cannot be understood) is never overwritten: it is moved aside as
// "<name>.corrupt-<timestamp>", the program says so on stderr, and the store
// starts empty. A file that cannot even be reached (a folder the user may not
// search) is left alone, and nothing is saved. The old JSON file of
// orbitfend 1.0 is read once and rewritten as text at the next save. A store
// that has not been loaded saves nothing, so it never replaces a file unread.
// Main thread only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/settings_store.h"
#include "platform/settings_text.h"

namespace platform {

class SettingsFile : public SettingsStore {
public:
    static constexpr std::uintmax_t kLargestFile = 1 << 20;

    explicit SettingsFile(std::filesystem::path file) : file_(std::move(file)), target_(file_) {}

    void load() override;
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, std::string_view text, std::string_view note) override;
    bool save() override;

    // Where the values are written: the file, or the target of the link that it is.
    const std::filesystem::path& target() const { return target_; }

private:
    bool readText(std::string& text);
    void setAside(const std::string& reason);

    std::filesystem::path file_;
    std::filesystem::path target_;
    bool loaded_ = false;
    bool writable_ = false;  // once loaded, unless the file could be neither read nor moved aside
    SettingsText text_;
    std::vector<std::pair<std::string, std::string>> fromOldFile_;  // until saved in the new form
};

}  // namespace platform
