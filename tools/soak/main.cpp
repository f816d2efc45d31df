// orbitfend-soak: plays random key scripts through the headless program, each
// twice at once, and checks that every run exits cleanly, writes a well-formed
// trace (contiguous passes, a clock that never goes back, the same fields on
// every line) and gives the same trace and sound the second time.
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include <CLI/CLI.hpp>

#include "headless_run.h"
#include "key_script_generator.h"

namespace {

struct SoakOptions {
    std::string binary;
    std::uint32_t firstSeed = 1;
    std::uint32_t seeds = 1;
    double minutes = 2;
    bool sound = true;
    std::string keep;
};

// Both runs of one seed; the failure, or an empty string.
std::string soakOneSeed(const SoakOptions& options, std::uint32_t seed, const std::filesystem::path& work) {
    const auto durationMs = static_cast<std::uint64_t>(options.minutes * 60000);
    const std::string script = (work / ("seed-" + std::to_string(seed) + ".keys")).string();
    std::ofstream(script) << soak::MakeKeyScript(seed, durationMs);
    const auto scratch = [&](const char* name) { return (work / name).string(); };

    // The two runs go on side by side. Only the first run's trace is checked
    // line by line: the second need only be the same, byte for byte, and its
    // digest says whether it is.
    const auto started = std::chrono::steady_clock::now();
    soak::RunOutcome second;
    std::thread repeat([&] {
        second = soak::RunHeadless(options.binary, script, durationMs, options.sound ? scratch("second.wav") : "",
                                   scratch("second.stderr"), false);
    });
    soak::RunOutcome first = soak::RunHeadless(
        options.binary, script, durationMs, options.sound ? scratch("first.wav") : "", scratch("first.stderr"), true);
    repeat.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::string failure;
    if (first.exitCode != 0 || second.exitCode != 0)
        failure = "exit codes " + std::to_string(first.exitCode) + " and " + std::to_string(second.exitCode) + ": " +
                  first.stderrText + second.stderrText;
    else if (!first.trace.error().empty())
        failure = first.trace.error();
    else if (first.trace.lines() == 0)
        failure = "an empty trace";
    else if (first.trace.digest() != second.trace.digest() || first.trace.lines() != second.trace.lines())
        failure = "the second run's trace differs";
    else if (first.wavDigest != second.wavDigest)
        failure = "the second run's sound differs";
    // A script may end its run early (the back key, a lost activation), so
    // the virtual time a run reached is its trace's last tick, not --minutes.
    const double virtualHours = static_cast<double>(std::max<std::int64_t>(first.trace.lastTick(), 0)) / 3.6e6;
    std::printf("seed %" PRIu32 ": %" PRIu64 " passes to %.2f virtual h, trace %016" PRIx64 ", sound %016" PRIx64
                ", %.1f s: %s\n",
                seed, first.trace.lines(), virtualHours, first.trace.digest(), first.wavDigest, seconds,
                failure.empty() ? "ok" : failure.c_str());
    std::fflush(stdout);
    if (options.keep.empty()) std::filesystem::remove(script);
    return failure;
}

}  // namespace

int main(int argc, char** argv) {
    SoakOptions options;
    CLI::App app{"orbitfend-soak: random key scripts through the headless program, each run twice", "orbitfend-soak"};
    app.add_option("--binary", options.binary, "The orbitfend program to soak")->required()->check(CLI::ExistingFile);
    app.add_option("--seed", options.firstSeed, "The first seed");
    app.add_option("--seeds", options.seeds, "How many seeds, from the first")->check(CLI::Range(1u, 100000u));
    app.add_option("--minutes", options.minutes, "Virtual minutes per run")->check(CLI::Range(0.01, 100000.0));
    app.add_flag("!--no-sound-check", options.sound, "Do not capture and compare the sound");
    app.add_option("--keep", options.keep, "Keep the key scripts in this directory");
    CLI11_PARSE(app, argc, argv);

    std::error_code error;
    const std::filesystem::path work =
        options.keep.empty() ? std::filesystem::temp_directory_path() / ("orbitfend-soak-" + std::to_string(getpid()))
                             : std::filesystem::path(options.keep);
    std::filesystem::create_directories(work, error);
    if (error) {
        std::fprintf(stderr, "orbitfend-soak: cannot make %s: %s\n", work.c_str(), error.message().c_str());
        return 2;
    }
    unsigned passed = 0, failed = 0;
    for (std::uint32_t i = 0; i < options.seeds; ++i)
        (soakOneSeed(options, options.firstSeed + i, work).empty() ? passed : failed)++;
    if (options.keep.empty()) std::filesystem::remove_all(work, error);
    std::printf("soak: %u passed, %u failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
