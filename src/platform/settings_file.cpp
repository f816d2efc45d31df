#include "platform/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/atomic_file.h"
#include "platform/legacy_settings.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

constexpr const char* kHeader =
    "# orbitfend's settings: one \"name = value\" on each line. Lines that start with\n"
    "# '#' are notes. Change a value while the game is not running: the game\n"
    "# rewrites this file when it ends, keeping your notes and any lines it does\n"
    "# not know.\n";

// A link's target, followed to the end (a dangling link gives the file it
// would create). Stops at a loop or at anything that cannot be read.
fs::path followLinks(fs::path file) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(file, ec))) break;
        const fs::path target = fs::read_symlink(file, ec);
        if (ec) break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

// "settings.corrupt-20240131-235959", with "-2", "-3"... should that be taken.
// Empty when no free name can be found (a folder that cannot be searched).
fs::path asideName(const fs::path& file) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = file.string() + ".corrupt-" + stamp;
    fs::path candidate = base;
    for (int n = 2; n < 1000; ++n) {
        std::error_code ec;
        // Only a name known to be free ends the search: a folder that cannot
        // be searched answers "permission denied" for every name.
        const fs::file_type type = fs::symlink_status(candidate, ec).type();
        if (type == fs::file_type::not_found) return candidate;
        if (type == fs::file_type::none) return {};
        candidate = base + "-" + std::to_string(n);
    }
    return {};
}

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
    target_ = followLinks(file_);
    RemoveStaleTemporaries(target_);
    text_ = SettingsText::Parse(kHeader);
    fromOldFile_.clear();
    writable_ = true;

    std::string text;
    if (!readText(text)) return;
    if (text.find('\0') != std::string::npos) return setAside("it is not text");
    if (IsLegacySettings(text)) {
        std::string reason;
        if (!ReadLegacySettings(text, fromOldFile_, reason)) setAside("it cannot be understood (" + reason + ")");
        return;
    }
    std::vector<std::size_t> ignored;
    text_ = SettingsText::Parse(text, &ignored);
    if (ignored.empty()) return;
    const bool one = ignored.size() == 1;
    std::fprintf(stderr, "orbitfend: %s: %s %s %s not \"name = value\"; kept as written but not used\n", file_.c_str(),
                 one ? "line" : "lines", firstIgnoredLines(ignored).c_str(), one ? "is" : "are");
}

// Reads the whole file into `text`; false, having said why, when there is
// nothing to read or the file cannot be used.
bool SettingsFile::readText(std::string& text) {
    std::error_code ec;
    const fs::file_status status = fs::status(target_, ec);
    if (status.type() == fs::file_type::not_found) return false;
    // O_NONBLOCK: a fifo in the file's place must not stall the start.
    const int fd =
        status.type() == fs::file_type::none ? -1 : ::open(target_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // FIX: a file that cannot be reached (a folder the user may not search)
        // is left where it is: there is nothing to move aside, and the search
        // for a free name to move it to would never end.
        const std::string reason = ec ? ec.message() : std::strerror(errno);
        std::fprintf(stderr,
                     "orbitfend: the settings file %s cannot be read (%s); this run starts from the defaults and "
                     "saves nothing\n",
                     file_.c_str(), reason.c_str());
        writable_ = false;
        return false;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    // FIX: a file larger than any settings file is refused before it is read,
    // so that its size costs neither time nor memory.
    const bool small = regular && static_cast<std::uintmax_t>(info.st_size) <= kLargestFile;
    char buffer[4096];
    ssize_t n = 0;
    while (small && text.size() <= kLargestFile && (n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    const int readErrno = errno;
    ::close(fd);
    if (!regular) return setAside("it is not a regular file"), false;
    if (!small || text.size() > kLargestFile) return setAside("it is larger than 1 MB"), false;
    if (n < 0) return setAside(std::string("it cannot be read (") + std::strerror(readErrno) + ")"), false;
    return true;
}

void SettingsFile::setAside(const std::string& reason) {
    const fs::path aside = asideName(target_);
    std::error_code ec;
    if (!aside.empty()) fs::rename(target_, aside, ec);
    if (aside.empty() || ec) {
        // Never overwrite what could not be moved: this run keeps its settings in memory.
        std::fprintf(stderr,
                     "orbitfend: the settings file %s is not used: %s, and it cannot be moved aside (%s); "
                     "this run starts from the defaults and saves nothing\n",
                     file_.c_str(), reason.c_str(), ec ? ec.message().c_str() : "no free name");
        writable_ = false;
        return;
    }
    std::fprintf(stderr,
                 "orbitfend: the settings file %s is not used: %s; it was moved to %s and the settings "
                 "start from the defaults\n",
                 file_.c_str(), reason.c_str(), aside.c_str());
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
    if (!writable_) return false;
    for (const auto& [name, text] : fromOldFile_)
        if (!text_.value(name)) text_.set(name, text, "");
    fromOldFile_.clear();
    std::string error;
    // FIX: the new file replaces the link's target, not the link, so that a
    // settings file kept elsewhere through a link keeps being the one used.
    if (ReplaceFileAtomically(target_, text_.text(), error)) return true;
    std::fprintf(stderr, "orbitfend: the settings were not saved: %s\n", error.c_str());
    return false;
}

}  // namespace platform
