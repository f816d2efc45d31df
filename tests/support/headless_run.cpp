#include "support/headless_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace testing_support {

namespace {
std::atomic<unsigned> scratchCounter{0};
}

ScratchDir::ScratchDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("orbitfend-test-" + std::to_string(getpid()) + "-" + std::to_string(scratchCounter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::write(const std::string& name, const std::string& text) const {
    std::string path = file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

EnvironmentScope::EnvironmentScope(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

EnvironmentScope::~EnvironmentScope() {
    if (old_)
        setenv(name_, old_->c_str(), 1);
    else
        unsetenv(name_);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

namespace {

// Waits for `pid`; kills it when `hangLimitSeconds` (> 0) go by first.
int WaitForExit(pid_t pid, int hangLimitSeconds) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(hangLimitSeconds);
    int status = 0;
    while (hangLimitSeconds > 0 && waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return kKilledAsHung;
    }
    if (hangLimitSeconds <= 0) waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

RunResult RunCommand(const std::vector<std::string>& commandLine, int hangLimitSeconds) {
    RunResult result;
    char errTemplate[] = "/tmp/orbitfend-stderr-XXXXXX";
    int errFd = mkstemp(errTemplate);
    if (errFd < 0) throw std::runtime_error("mkstemp failed");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

    std::vector<char*> argv;
    for (const std::string& word : commandLine) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(errFd);
    if (spawned == 0) result.exitCode = WaitForExit(pid, hangLimitSeconds);
    result.stderrText = ReadFile(errTemplate);
    unlink(errTemplate);
    return result;
}

RunResult RunHeadless(const ScratchDir& dir, const std::vector<std::string>& arguments, bool withTrace,
                      int hangLimitSeconds) {
    std::vector<std::string> commandLine{kBinary, "--headless"};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    std::string tracePath = dir.file("trace.jsonl");
    if (withTrace) {
        commandLine.push_back("--trace");
        commandLine.push_back(tracePath);
    }
    RunResult result = RunCommand(commandLine, hangLimitSeconds);
    if (withTrace) result.trace = ReadTrace(tracePath);
    return result;
}

RunResult RunKeys(const ScratchDir& dir, const std::string& keys, unsigned untilMs,
                  const std::vector<std::string>& more) {
    std::vector<std::string> arguments{"--keys", dir.write("keys.txt", keys), "--until", std::to_string(untilMs)};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return RunHeadless(dir, arguments);
}

std::vector<nlohmann::json> ReadTrace(const std::string& path) {
    std::vector<nlohmann::json> trace;
    for (const std::string& line : Lines(ReadFile(path))) trace.push_back(nlohmann::json::parse(line));
    return trace;
}

const nlohmann::json* FirstWhere(const std::vector<nlohmann::json>& trace,
                                 const std::function<bool(const nlohmann::json&)>& predicate) {
    for (const nlohmann::json& line : trace)
        if (predicate(line)) return &line;
    return nullptr;
}

std::string KeyDown(unsigned ms, int vk) { return std::to_string(ms) + " down " + std::to_string(vk) + "\n"; }
std::string KeyUp(unsigned ms, int vk) { return std::to_string(ms) + " up " + std::to_string(vk) + "\n"; }
std::string KeyPress(unsigned ms, int vk, unsigned holdMs) { return KeyDown(ms, vk) + KeyUp(ms + holdMs, vk); }

}  // namespace testing_support
