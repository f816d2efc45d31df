// One running copy per user: a lock file held for the life of the copy, and
// a UNIX-domain socket beside it on which the running copy hears "come to the
// front" from any copy started after it. The kernel drops the lock when a
// copy dies, so a socket file left behind by a crash is simply replaced.
#pragma once

#include <sys/un.h>

#include <string>

namespace platform::sdl {

// The per-user directory for the lock and the socket: $XDG_RUNTIME_DIR, or
// /tmp/orbitfend-<uid> (made private to the user). Empty when neither can
// be used safely.
std::string InstanceDirectory();

class SingleInstance {
public:
    enum class Claim {
        First,        // this copy runs and now listens for later copies
        AnotherRuns,  // a running copy was asked to come to the front
        Unavailable,  // no lock could be taken: run without the check
    };

    SingleInstance() = default;
    ~SingleInstance();  // gives up the lock and removes the socket
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Claims the name `name` in `directory`. Call once.
    Claim claim(const std::string& directory, const std::string& name);

    // How many "come to the front" requests arrived since the last call;
    // never waits.
    int takeActivationRequests();

private:
    bool listen();
    bool askRunningCopy() const;

    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string socketPath_;
    sockaddr_un address_{};  // of the socket at socketPath_
};

}  // namespace platform::sdl
