#include "support/headless_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace testing_support {

ScratchDir::ScratchDir() {
    std::string name = (std::filesystem::temp_directory_path() / "orbitfend-test-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    chmod(name.c_str(), 0755);  // open to other users, as a folder made the usual way
    path_ = name;
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
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

RunResult RunCommand(const std::vector<std::string>& commandLine, int hangLimitSeconds) {
    RunResult result;
    char errTemplate[] = "/tmp/orbitfend-stderr-XXXXXX";
    const int errFd = mkstemp(errTemplate);
    if (errFd < 0) throw std::runtime_error("mkstemp failed");
    std::vector<char*> argv;
    for (const std::string& word : commandLine) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // Only calls that are safe in the child of a threaded process until exec.
        dup2(errFd, 2);
        dup2(open("/dev/null", O_RDONLY), 0);
        alarm(static_cast<unsigned>(hangLimitSeconds));  // kept across exec; 0 sets none
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(errFd);
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid)
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.stderrText = ReadFile(errTemplate);
    unlink(errTemplate);
    return result;
}

RunResult RunHeadless(const ScratchDir& dir, const std::vector<std::string>& arguments, bool withTrace,
                      int hangLimitSeconds) {
    std::vector<std::string> commandLine{kBinary, "--headless"};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    if (withTrace) commandLine.insert(commandLine.end(), {"--trace", dir.file("trace.jsonl")});
    RunResult result = RunCommand(commandLine, hangLimitSeconds);
    if (withTrace) result.trace = ReadTrace(dir.file("trace.jsonl"));
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

std::string KeyDown(unsigned ms, int vk) { return std::to_string(ms) + " down " + std::to_string(vk) + "\n"; }
std::string KeyUp(unsigned ms, int vk) { return std::to_string(ms) + " up " + std::to_string(vk) + "\n"; }
std::string KeyPress(unsigned ms, int vk, unsigned holdMs) { return KeyDown(ms, vk) + KeyUp(ms + holdMs, vk); }

}  // namespace testing_support
