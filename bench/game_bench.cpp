// Headless game speed: the real program plays the scripted demo game on the
// virtual clock, without sound, trace or screenshots, in play frames per
// second of real time (start-up excluded); beside it the floor of the two whole-frame block
// copies (background restore and presentation) that every frame makes.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

extern char** environ;

namespace {

constexpr std::size_t kFrameBytes = 176 * 220 * 2;  // 77,440
constexpr const char* kDemoMs = "150000";           // two and a half minutes, all of it in play

std::string demoKeys() { return std::string(ORBITFEND_SOURCE_DIR) + "/tests/data/demo_game.keys"; }

bool runGame(const std::vector<std::string>& extra, const char* untilMs = kDemoMs) {
    std::vector<std::string> args{ORBITFEND_BINARY, "--headless", "--no-sound", "--keys",
                                  demoKeys(),       "--until",    untilMs};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The play frames of the demo game, counted once from a traced run.
double demoPlayFrames() {
    static const double frames = [] {
        const std::string trace = "/tmp/orbitfend_game_bench_trace.jsonl";
        if (!runGame({"--trace", trace})) return 0.0;
        double n = 0;
        std::ifstream in(trace);
        for (std::string line; std::getline(in, line);) {
            const int mode = nlohmann::json::parse(line)["mode"];
            n += mode >= 2 && mode <= 4;
        }
        std::remove(trace.c_str());
        return n;
    }();
    return frames;
}

void BM_HeadlessDemoGame(benchmark::State& state) {
    const double frames = demoPlayFrames();
    if (frames == 0) {
        state.SkipWithError("the demo game did not run");
        return;
    }
    // The program's start-up and shutdown (a run that ends before the title
    // screen's first frame) are timed apart and left out.
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!runGame({}, "0")) state.SkipWithError("the program did not start");
        const auto played = std::chrono::steady_clock::now();
        if (!runGame({})) state.SkipWithError("the demo game failed");
        const auto end = std::chrono::steady_clock::now();
        const std::chrono::duration<double> game = (end - played) - (played - start);
        state.SetIterationTime(game.count() > 0 ? game.count() : 1e-9);
    }
    state.counters["frames_per_second"] = benchmark::Counter(frames, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_HeadlessDemoGame)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_TwoFrameCopiesFloor(benchmark::State& state) {
    std::vector<unsigned char> background(kFrameBytes, 1), backBuffer(kFrameBytes), display(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(backBuffer.data(), background.data(), kFrameBytes);
        benchmark::ClobberMemory();
        std::memcpy(display.data(), backBuffer.data(), kFrameBytes);
        benchmark::ClobberMemory();
    }
    state.counters["frames_per_second"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_TwoFrameCopiesFloor)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
