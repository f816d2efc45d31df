#include "platform/sdl/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace platform::sdl {

namespace {

// A copy that has just taken the lock may not be listening yet.
constexpr int kConnectAttempts = 20;
constexpr auto kConnectRetryDelay = std::chrono::milliseconds(25);
constexpr char kActivateRequest[] = "activate\n";

bool isPrivateDirectory(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid();
}

// The socket's address; false when `path` is too long for one.
bool socketAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

std::string InstanceDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0' && isPrivateDirectory(runtime)) return runtime;
    const std::string fallback = "/tmp/orbitfend-" + std::to_string(getuid());
    mkdir(fallback.c_str(), 0700);  // it may exist already; it is checked next
    return isPrivateDirectory(fallback) ? fallback : std::string();
}

SingleInstance::~SingleInstance() {
    // The socket goes before the lock, so a copy that starts meanwhile never
    // loses its own socket to this clean-up.
    if (listenFd_ >= 0) {
        close(listenFd_);
        unlink(socketPath_.c_str());
    }
    if (lockFd_ >= 0) close(lockFd_);
}

SingleInstance::Claim SingleInstance::claim(const std::string& directory, const std::string& name) {
    if (directory.empty() || lockFd_ >= 0) return Claim::Unavailable;
    std::string base = name;
    std::replace(base.begin(), base.end(), '/', '_');
    base = directory + "/" + base;
    socketPath_ = base + ".socket";
    if (!socketAddress(socketPath_, address_)) return Claim::Unavailable;

    lockFd_ = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) return Claim::Unavailable;
    if (flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        listen();  // a copy that cannot listen still runs; later copies then just leave
        return Claim::First;
    }
    const bool held = errno == EWOULDBLOCK;
    close(lockFd_);
    lockFd_ = -1;
    if (!held) return Claim::Unavailable;
    askRunningCopy();
    return Claim::AnotherRuns;
}

int SingleInstance::takeActivationRequests() {
    if (listenFd_ < 0) return 0;
    int requests = 0;
    for (;;) {
        const int connection = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) break;
        // Any connection is a request; what it says does not matter.
        close(connection);
        ++requests;
    }
    return requests;
}

bool SingleInstance::listen() {
    unlink(socketPath_.c_str());  // left behind by a copy that crashed
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) return false;
    if (bind(listenFd_, reinterpret_cast<const sockaddr*>(&address_), sizeof address_) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    return true;
}

bool SingleInstance::askRunningCopy() const {
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address_), sizeof address_) == 0;
        if (connected) send(fd, kActivateRequest, sizeof kActivateRequest - 1, MSG_NOSIGNAL);
        close(fd);
        if (connected) return true;
        std::this_thread::sleep_for(kConnectRetryDelay);
    }
    return false;
}

}  // namespace platform::sdl
