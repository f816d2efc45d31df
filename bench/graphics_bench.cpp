// The cost of one title-screen frame (background restore, score line, the
// keyed full-screen title, the copy to the frame buffer) against the floor
// of the two whole-screen block copies that every frame makes anyway.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "graphics/pixel_format.h"
#include "graphics/primitives.h"
#include "graphics/surface.h"
#include "resources/resources.h"
#include "shell/globals.h"

namespace {

constexpr std::size_t kFrameBytes = 176 * 220 * sizeof(NativePixel);  // 77,440

Image* importBitmap(std::uint32_t id, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    return ImageFromBitmap(backBuffer, resources::LoadBitmap(id).get(), x, y, w, h);
}

// The program's Surfaces and pictures as start-up leaves them, with a
// memory frame buffer standing in for the display.
struct TitleScene {
    TitleScene() {
        ConstructProgramObjects();
        Image* picture = importBitmap(104, -1, -1, 0, 0);
        background.allocate();
        background.blitOpaque(0, 0, 176, 220, picture, 0, 0);
        FreeImage(picture);
        titleImage = importBitmap(113, 0, 0, 176, 220);
        spriteSheet = importBitmap(121, -1, -1, 0, 0);
        colourKey = backBuffer.nativeColour(kBlue);
        backBuffer.allocate();
        gameState.score = 1230;
        gameState.highScore = 98760;
        frameBuffer.resize(kFrameBytes / sizeof(NativePixel));
    }
    ~TitleScene() {
        FreeImage(titleImage);
        FreeImage(spriteSheet);
        DestroyProgramObjects();
    }
    std::vector<NativePixel> frameBuffer;
};

void TitleFrame(benchmark::State& state) {
    TitleScene scene;
    for (auto _ : state) {
        DrawStatusLine(gameState.score, gameState.highScore);
        backBuffer.blitKeyed(0, 0, 176, 220, titleImage, colourKey, 0, 0);
        display.setPixels(scene.frameBuffer.data());
        display.copyFrom(backBuffer);
        benchmark::DoNotOptimize(scene.frameBuffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TitleFrame);

void TwoBlockCopies(benchmark::State& state) {
    std::vector<std::uint8_t> background(kFrameBytes, 1), back(kFrameBytes), screen(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(back.data(), background.data(), kFrameBytes);
        benchmark::ClobberMemory();
        std::memcpy(screen.data(), back.data(), kFrameBytes);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TwoBlockCopies);

// Prints the title frame's cost as a multiple of the floor after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) nanoseconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto frame = nanoseconds_.find("TitleFrame"), floor = nanoseconds_.find("TwoBlockCopies");
        if (frame != nanoseconds_.end() && floor != nanoseconds_.end() && floor->second > 0)
            std::printf("title frame / two block copies: %.2fx (goal: 3x or less)\n", frame->second / floor->second);
    }

private:
    std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
