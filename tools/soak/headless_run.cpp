#include "headless_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

extern char** environ;

namespace soak {

namespace {

constexpr int kTraceDescriptor = 3;

// Reads the pipe to its end, handing each whole line to the checker.
void readTrace(int descriptor, TraceCheck& trace) {
    std::string pending;
    static thread_local char buffer[1 << 20];
    for (;;) {
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got <= 0) break;
        pending.append(buffer, static_cast<std::size_t>(got));
        const std::string_view text(pending);
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
            trace.addLine(text.substr(start, end - start));
        pending.erase(0, start);
    }
    if (!pending.empty()) trace.addLine(pending);
}

}  // namespace

RunOutcome RunHeadless(const std::string& binary, const std::string& scriptPath, std::uint64_t untilMs,
                       const std::string& wavPath, const std::string& stderrPath, bool checkTrace) {
    RunOutcome outcome;
    outcome.trace = TraceCheck(checkTrace);
    int pipeEnds[2];
    // Close-on-exec, so that a run started at the same time on another
    // thread does not inherit this one's write end and hold its trace open.
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return outcome;
    // A pipe of a megabyte, where Linux gives 64 KB: the two ends then wake
    // each other a sixteenth as often (best effort; the size is only a hint).
    fcntl(pipeEnds[1], F_SETPIPE_SZ, 1 << 20);
    std::vector<std::string> args{binary,    "--headless",
                                  "--keys",  scriptPath,
                                  "--until", std::to_string(untilMs),
                                  "--trace", "/dev/fd/" + std::to_string(kTraceDescriptor)};
    if (!wavPath.empty()) args.insert(args.end(), {"--wav", wavPath});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The read end may hold the descriptor number the trace is to have, so it goes first.
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], kTraceDescriptor);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, binary.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned == 0) readTrace(pipeEnds[0], outcome.trace);
    close(pipeEnds[0]);
    if (spawned != 0) return outcome;

    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    std::ifstream errors(stderrPath);
    std::ostringstream text;
    text << errors.rdbuf();
    outcome.stderrText = text.str();
    std::filesystem::remove(stderrPath);
    if (!wavPath.empty()) {
        DigestFile(wavPath, outcome.wavDigest);
        std::filesystem::remove(wavPath);
    }
    return outcome;
}

}  // namespace soak
