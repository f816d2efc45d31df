// Offline render speed of our module replay against two peer players
// (libopenmpt and libxmp), side by side on the same example songs, at
// 44100 Hz stereo and 11025 Hz mono with nearest-neighbour resampling. The
// counter "realtime" is seconds of song rendered per second of work. Before
// the timings, a table compares the three players' song durations.
#include <benchmark/benchmark.h>
#include <libopenmpt/libopenmpt.h>
#include <xmp.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound/module.h"
#include "sound/song_player.h"

namespace {

const char* const kSongs[] = {"orbit-march", "slide-study", "tempo-tricks"};

std::vector<std::uint8_t> SongImage(int song) {
    std::ifstream in(std::string(ORBITFEND_SOURCE_DIR) + "/tools/modplay/examples/" + kSongs[song] + ".mod",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Renders one pass of the song as the engine would, a block at a time; the
// frames rendered.
std::uint64_t RenderOurs(const std::vector<std::uint8_t>& image, std::uint32_t rate, bool stereo,
                         std::vector<std::uint8_t>& out) {
    Module module;
    module.useImage(image.data(), image.size());
    SongPlayer player(module, {.rate = rate, .stereo = stereo});
    out.resize(std::size_t{60} * 44100 * 2);
    std::uint64_t frames = 0;
    constexpr std::uint32_t kChunkFrames = 4096;
    while (std::uint32_t rendered = player.render(out.data(), kChunkFrames)) frames += rendered;
    return frames;
}

openmpt_module* OpenOpenmpt(const std::vector<std::uint8_t>& image) {
    openmpt_module* mod = openmpt_module_create_from_memory2(image.data(), image.size(), nullptr, nullptr, nullptr,
                                                             nullptr, nullptr, nullptr, nullptr);
    if (mod != nullptr) openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, 1);
    return mod;
}

std::uint64_t RenderOpenmpt(openmpt_module* mod, std::uint32_t rate, bool stereo, std::vector<std::int16_t>& buffer) {
    openmpt_module_set_position_seconds(mod, 0.0);
    std::uint64_t frames = 0;
    for (;;) {
        const std::size_t got =
            stereo ? openmpt_module_read_interleaved_stereo(mod, static_cast<std::int32_t>(rate), 4096, buffer.data())
                   : openmpt_module_read_mono(mod, static_cast<std::int32_t>(rate), 4096, buffer.data());
        if (got == 0) return frames;
        frames += got;
    }
}

xmp_context OpenXmp(const std::vector<std::uint8_t>& image, std::uint32_t rate, bool stereo) {
    xmp_context context = xmp_create_context();
    xmp_load_module_from_memory(context, const_cast<std::uint8_t*>(image.data()), static_cast<long>(image.size()));
    xmp_start_player(context, static_cast<int>(rate), stereo ? 0 : XMP_FORMAT_MONO);
    xmp_set_player(context, XMP_PLAYER_INTERP, XMP_INTERP_NEAREST);
    return context;
}

std::uint64_t RenderXmp(xmp_context context, bool stereo) {
    xmp_restart_module(context);
    std::uint64_t bytes = 0;
    xmp_frame_info info;
    while (xmp_play_frame(context) == 0) {
        xmp_get_frame_info(context, &info);
        if (info.loop_count > 0) break;
        bytes += static_cast<std::uint64_t>(info.buffer_size);
    }
    return bytes / (stereo ? 4 : 2);
}

void SetRealtime(benchmark::State& state, std::uint64_t framesPerPass, std::uint32_t rate) {
    state.counters["realtime"] =
        benchmark::Counter(static_cast<double>(framesPerPass) / rate * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void Ours(benchmark::State& state) {
    const auto image = SongImage(static_cast<int>(state.range(0)));
    const auto rate = static_cast<std::uint32_t>(state.range(1));
    const bool stereo = state.range(2) != 0;
    std::vector<std::uint8_t> out;
    std::uint64_t frames = 0;
    for (auto _ : state) {
        frames = RenderOurs(image, rate, stereo, out);
        benchmark::DoNotOptimize(out.data());
    }
    SetRealtime(state, frames, rate);
}

void Openmpt(benchmark::State& state) {
    const auto image = SongImage(static_cast<int>(state.range(0)));
    const auto rate = static_cast<std::uint32_t>(state.range(1));
    const bool stereo = state.range(2) != 0;
    openmpt_module* mod = OpenOpenmpt(image);
    std::vector<std::int16_t> buffer(2 * 4096);
    std::uint64_t frames = 0;
    for (auto _ : state) frames = RenderOpenmpt(mod, rate, stereo, buffer);
    openmpt_module_destroy(mod);
    SetRealtime(state, frames, rate);
}

void Xmp(benchmark::State& state) {
    const auto image = SongImage(static_cast<int>(state.range(0)));
    const auto rate = static_cast<std::uint32_t>(state.range(1));
    const bool stereo = state.range(2) != 0;
    xmp_context context = OpenXmp(image, rate, stereo);
    std::uint64_t frames = 0;
    for (auto _ : state) frames = RenderXmp(context, stereo);
    xmp_end_player(context);
    xmp_release_module(context);
    xmp_free_context(context);
    SetRealtime(state, frames, rate);
}

void Cases(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"song", "rate", "stereo"});
    for (int song = 0; song < 3; ++song) {
        bench->Args({song, 44100, 1});
        bench->Args({song, 11025, 0});
    }
    bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(Ours)->Apply(Cases);
BENCHMARK(Openmpt)->Apply(Cases);
BENCHMARK(Xmp)->Apply(Cases);

// Our ticks last rate / 50 + 1 frames, a little over 20 ms; the peers' 20 ms.
void PrintDurations() {
    std::printf("%-14s %6s %10s %10s %10s %9s %9s\n", "song", "rate", "ours s", "openmpt s", "xmp s", "vs openmpt",
                "vs xmp");
    for (int song = 0; song < 3; ++song) {
        const auto image = SongImage(song);
        for (const std::uint32_t rate : {44100u, 11025u}) {
            Module module;
            module.useImage(image.data(), image.size());
            const double ours = static_cast<double>(SongFrames(module, rate)) / rate;
            const double tickStretch = (rate / 50 + 1) / (0.02 * rate);
            openmpt_module* mod = OpenOpenmpt(image);
            const double openmpt = openmpt_module_get_duration_seconds(mod);
            openmpt_module_destroy(mod);
            xmp_context context = OpenXmp(image, rate, false);
            xmp_frame_info info;
            xmp_get_frame_info(context, &info);
            const double xmp = info.total_time / 1000.0;
            xmp_end_player(context);
            xmp_release_module(context);
            xmp_free_context(context);
            std::printf("%-14s %6u %10.3f %10.3f %10.3f %+8.2f%% %+8.2f%%\n", kSongs[song], rate, ours, openmpt, xmp,
                        100.0 * (ours / tickStretch / openmpt - 1), 100.0 * (ours / tickStretch / xmp - 1));
        }
    }
    std::printf("(differences after allowing for our tick of rate / 50 + 1 frames)\n\n");
}

}  // namespace

int main(int argc, char** argv) {
    PrintDurations();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
