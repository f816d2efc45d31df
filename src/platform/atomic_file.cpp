#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

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
bool syncDirectory(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

std::string temporaryPrefix(const std::filesystem::path& file) { return "." + file.filename().string() + "."; }

}  // namespace

bool ReplaceFileAtomically(const std::filesystem::path& file, const std::string& bytes, std::string& error) {
    const std::filesystem::path directory = file.parent_path().empty() ? "." : file.parent_path();
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
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
void RemoveStaleTemporaries(const std::filesystem::path& file) {
    const std::filesystem::path directory = file.parent_path().empty() ? "." : file.parent_path();
    const std::string prefix = temporaryPrefix(file);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(it->path().c_str());
        ::close(fd);
    }
}

}  // namespace platform
