// The settings store: this program's named values (the high score, the
// volume, the desktop's keys) kept from one run to the next, one line of
// text each; what they mean is the caller's business. Main thread only.
// Implementations: the player's settings file (shell/settings_file.h), the
// page's localStorage (web/), and the memory-only store below.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Reads the stored values before the first value(); later calls do
    // nothing. What cannot be used is reported on stderr and the store starts
    // without it.
    virtual void load() = 0;

    // The text stored for `name`, or nothing.
    virtual std::optional<std::string> value(std::string_view name) const = 0;

    // Sets `name` (letters, digits, '-', '_', '.') to `text`. `note` tells a
    // person what the value means and how to change it; it is written beside a
    // value that the store did not hold yet.
    virtual void setValue(std::string_view name, std::string_view text, std::string_view note) = 0;

    // Makes the values last until the next run. Returns false when they were
    // not kept (a failed write says why on stderr; a store in memory keeps
    // nothing, quietly).
    virtual bool save() = 0;
};

// Values in memory only: gone when the process ends; saving keeps nothing.
class MemorySettingsStore : public SettingsStore {
public:
    void load() override {}
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, std::string_view text, std::string_view) override {
        values_[std::string(name)] = std::string(text);
    }
    bool save() override { return false; }

protected:
    std::map<std::string, std::string, std::less<>> values_;
};

// The store that a run uses; the memory-only store when none is set. The
// caller keeps ownership and clears it (nullptr) before destroying it.
void SetActiveSettingsStore(SettingsStore* store);
SettingsStore& ActiveSettingsStore();

}  // namespace platform
