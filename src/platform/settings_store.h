// The settings store: this program's named values (the high score, the
// volume) kept from one run to the next. Values are one line of text each;
// what they mean, and what to do with one that makes no sense, is the
// caller's business. Main thread only.
//
// Implementations: a file that a person can read and edit (settings_file.h),
// for the desktop and for headless runs given --settings DIR; and one that
// keeps the values in memory only (null/null_settings_store.h), for headless
// runs without it and whenever none is set.
#pragma once

#ifndef __wasi__
#include <filesystem>
#endif
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/options.h"

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

// The store that a run uses; the memory-only store when none is set. The
// caller keeps ownership and clears it (nullptr) before destroying it.
void SetActiveSettingsStore(SettingsStore* store);
SettingsStore& ActiveSettingsStore();

#ifndef __wasi__
// Where a run with `options` keeps its settings file, given the environment's
// XDG_CONFIG_HOME and HOME (each may be null): "--settings DIR" gives
// DIR/settings; a headless run without it keeps its settings in memory (an
// empty result), so that tests never touch the user's own file; otherwise
// $XDG_CONFIG_HOME/orbitfend/settings, or ~/.config/orbitfend/settings.
std::filesystem::path SettingsFilePath(const Options& options, const char* xdgConfigHome, const char* home);
#endif

// The store for a run with `options` in this environment: the file store at
// SettingsFilePath, or the memory-only store when that is empty. Reads nothing yet.
// WebAssembly has no files (its libc++ has no <filesystem>): there it is always
// the memory-only store, and the page gives its own store (platform/web).
std::unique_ptr<SettingsStore> MakeSettingsStore(const Options& options);

}  // namespace platform
