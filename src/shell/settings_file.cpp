#include "shell/settings_file.h"

#include <algorithm>
#include <cstdio>

#include "shell/legacy_settings.h"

namespace {

constexpr const char* kHeader =
    "# orbitfend's settings: one \"name = value\" on each line. Lines that start with\n"
    "# '#' are notes. Change a value while the game is not running: the game\n"
    "# rewrites this file when it ends, keeping your notes and any lines it does\n"
    "# not know.\n";

std::string firstIgnoredLines(const std::vector<std::size_t>& lines) {
    std::string list;
    for (std::size_t i = 0; i < lines.size() && i < 5; ++i) list += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    return lines.size() > 5 ? list + " and " + std::to_string(lines.size() - 5) + " more" : list;
}

}  // namespace

void SettingsFile::load() {
    // The desktop reads its key bindings before the game reads its values;
    // a second load must not drop the defaults given in between.
    if (loaded_) return;
    loaded_ = true;
    text_ = SettingsText::Parse(kHeader);
    std::string text;
    if (!file_.read(text)) return;
    if (IsLegacySettings(text)) {
        std::string reason;
        if (!ReadLegacySettings(text, fromOldFile_, reason)) file_.setAside("it cannot be understood (" + reason + ")");
        return;
    }
    std::vector<std::size_t> ignored;
    text_ = SettingsText::Parse(text, &ignored);
    if (ignored.empty()) return;
    const bool one = ignored.size() == 1;
    std::fprintf(stderr, "orbitfend: %s: %s %s %s not \"name = value\"; kept as written but not used\n",
                 file_.path().c_str(), one ? "line" : "lines", firstIgnoredLines(ignored).c_str(), one ? "is" : "are");
}

std::optional<std::string> SettingsFile::value(std::string_view name) const {
    if (std::optional<std::string> found = text_.value(name)) return found;
    const auto old =
        std::find_if(fromOldFile_.begin(), fromOldFile_.end(), [&](const auto& v) { return v.first == name; });
    if (old == fromOldFile_.end()) return std::nullopt;
    return old->second;
}

void SettingsFile::setValue(std::string_view name, std::string_view text, std::string_view note) {
    text_.set(name, text, note);
}

bool SettingsFile::save() {
    if (!loaded_) return false;
    for (const auto& [name, text] : fromOldFile_)
        if (!text_.value(name)) text_.set(name, text, "");
    fromOldFile_.clear();
    return file_.replace(text_.text());
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
