#include "shell/stored_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

namespace fs = std::filesystem;

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

fs::path folderOf(const fs::path& file) { return file.parent_path().empty() ? "." : file.parent_path(); }

std::string temporaryPrefix(const fs::path& file) { return "." + file.filename().string() + "."; }

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The rename is only durable once the directory that records it is on the disk.
bool syncDirectory(const fs::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Writes `bytes` to a temporary file beside `file` (".<name>.XXXXXX"), flushes
// it to the disk, renames it over `file` and flushes the directory, which is
// made when missing. The temporary file is locked while it exists, so that a
// sweep can tell a live write from a killed one.
bool replaceAtomically(const fs::path& file, const std::string& bytes, std::string& error) {
    const fs::path directory = folderOf(file);
    std::error_code ec;
    fs::create_directories(directory, ec);
    if (ec) {
        error = "cannot create " + directory.string() + ": " + ec.message();
        return false;
    }
    // A name of its own for every writer, so two writers never share a half-written file.
    std::string temporary = (directory / (temporaryPrefix(file) + "XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create a file in " + directory.string() + ": " + std::strerror(errno);
        return false;
    }
    // Held until the file has its final name; the kernel lets go when the writer dies.
    ::flock(fd, LOCK_EX);
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0 && ::rename(temporary.c_str(), file.c_str()) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!written) {
        error = "cannot write " + file.string() + ": " + std::strerror(savedErrno);
        ::unlink(temporary.c_str());
        return false;
    }
    if (!syncDirectory(directory)) {
        error = "cannot flush " + directory.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// FIX: a save killed between creating its temporary file and renaming it
// leaves that file behind; without this sweep they gather without end.
void removeStaleTemporaries(const fs::path& file) {
    const std::string prefix = temporaryPrefix(file);
    std::error_code ec;
    for (fs::directory_iterator it(folderOf(file), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(it->path().c_str());
        ::close(fd);
    }
}

}  // namespace

bool StoredFile::read(std::string& text) {
    target_ = followLinks(file_);
    removeStaleTemporaries(target_);
    writable_ = true;
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
    if (text.find('\0') != std::string::npos) return setAside("it is not text"), false;
    return true;
}

void StoredFile::setAside(const std::string& reason) {
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

bool StoredFile::replace(const std::string& text) {
    if (!writable_) return false;
    std::string error;
    // FIX: the new file replaces the link's target, not the link, so that a
    // settings file kept elsewhere through a link keeps being the one used.
    if (replaceAtomically(target_, text, error)) return true;
    std::fprintf(stderr, "orbitfend: the settings were not saved: %s\n", error.c_str());
    return false;
}
