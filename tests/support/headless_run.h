// Runs the real program headless, as a child process, and reads back what it
// wrote: the state trace, screenshots and the captured sound.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace testing_support {

// A scratch directory for one test, removed when it goes out of scope.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Writes `text` to `name` in the directory and returns its path.
    std::string write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path_;
};

// Sets an environment variable (unsets it when `value` is null) for the life
// of the scope, then puts back what was there.
class EnvironmentScope {
public:
    EnvironmentScope(const char* name, const char* value);
    ~EnvironmentScope();
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct RunResult {
    int exitCode = -1;
    std::string stderrText;
    std::vector<nlohmann::json> trace;  // one object per pass, when --trace was asked for
};

// A headless run: `--headless` plus `arguments`. When `withTrace` is set a
// trace file in `dir` is added and read back. `hangLimitSeconds`: as RunCommand.
RunResult RunHeadless(const ScratchDir& dir, const std::vector<std::string>& arguments, bool withTrace = true,
                      int hangLimitSeconds = 0);
// A traced headless run of the key script `keys` (written to `dir`) until
// `untilMs`, with `more` arguments.
RunResult RunKeys(const ScratchDir& dir, const std::string& keys, unsigned untilMs,
                  const std::vector<std::string>& more = {});
// A trace file's lines, one object per pass.
std::vector<nlohmann::json> ReadTrace(const std::string& path);

// Runs any command line (no shell); returns its exit code and standard error.
// With a `hangLimitSeconds` above 0 a run still going after that long is ended
// by SIGALRM (exit code 128 + 14): a guard against endless loops, far above
// any run's normal length, not a measure of speed.
RunResult RunCommand(const std::vector<std::string>& commandLine, int hangLimitSeconds = 0);

std::string ReadFile(const std::string& path);
// The lines of `text`, without their ends.
std::vector<std::string> Lines(const std::string& text);

// Key-script lines, for building scripts in tests.
std::string KeyDown(unsigned ms, int vk);
std::string KeyUp(unsigned ms, int vk);
// A press: down at `ms`, up `holdMs` later.
std::string KeyPress(unsigned ms, int vk, unsigned holdMs = 40);

constexpr const char* kBinary = ORBITFEND_BINARY;
constexpr const char* kSourceDir = ORBITFEND_SOURCE_DIR;

}  // namespace testing_support
