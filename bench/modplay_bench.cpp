// Offline render speed of our module replay against two peer players
// (libopenmpt and libxmp), side by side on the same example songs:
//   - the accurate profile at 44100 Hz stereo with linear interpolation,
//     against the peers with theirs;
//   - the classic profile at 11025 Hz mono, against the peers with
//     nearest-neighbour resampling.
// The counter "realtime" is seconds of song rendered per second of work, so
// the ratio of two rows' counters is how many times faster one player is.
// Before the timings, a table compares the three players' song durations.
#include <benchmark/benchmark.h>
#include <libopenmpt/libopenmpt.h>
#include <xmp.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound/module.h"
#include "sound/song_player.h"

namespace {

const char* const kSongs[] = {"orbit-march", "slide-study", "tempo-tricks"};
constexpr int kSongCount = 3;

enum Setting { kAccurateStereo44k, kClassicMono11k };

struct Case {
    std::uint32_t rate;
    bool stereo;
    bool linear;
    ReplayProfile profile;
};

constexpr Case kCases[] = {
    {44100, true, true, {ReplayRules::accurate, Interpolation::linear}},
    {11025, false, false, {ReplayRules::classic, Interpolation::none}},
};

std::vector<std::uint8_t> SongImage(int song) {
    std::ifstream in(std::string(ORBITFEND_SOURCE_DIR) + "/tools/modplay/examples/" + kSongs[song] + ".mod",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Renders one pass of the song into `out`, a block at a time, as the module
// player does (16-bit for the accurate profile, 8-bit for the classic); the
// frames rendered.
std::uint64_t RenderOurs(const std::vector<std::uint8_t>& image, const Case& setting, std::vector<std::uint8_t>& out) {
    Module module;
    module.useImage(image.data(), image.size());
    const bool accurate = setting.profile.rules == ReplayRules::accurate;
    SongPlayer player(
        module,
        {.rate = setting.rate, .stereo = setting.stereo, .profile = setting.profile, .bits = accurate ? 16u : 8u});
    constexpr std::uint32_t kChunkFrames = 4096;
    out.resize(std::size_t{kChunkFrames} * player.frameBytes());
    std::uint64_t frames = 0;
    while (std::uint32_t rendered = player.render(out.data(), kChunkFrames)) frames += rendered;
    return frames;
}

openmpt_module* OpenOpenmpt(const std::vector<std::uint8_t>& image, bool linear) {
    openmpt_module* mod = openmpt_module_create_from_memory2(image.data(), image.size(), nullptr, nullptr, nullptr,
                                                             nullptr, nullptr, nullptr, nullptr);
    if (mod != nullptr)
        openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, linear ? 2 : 1);
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

xmp_context OpenXmp(const std::vector<std::uint8_t>& image, std::uint32_t rate, bool stereo, bool linear) {
    xmp_context context = xmp_create_context();
    xmp_load_module_from_memory(context, const_cast<std::uint8_t*>(image.data()), static_cast<long>(image.size()));
    xmp_start_player(context, static_cast<int>(rate), stereo ? 0 : XMP_FORMAT_MONO);
    xmp_set_player(context, XMP_PLAYER_INTERP, linear ? XMP_INTERP_LINEAR : XMP_INTERP_NEAREST);
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
    const Case& setting = kCases[state.range(1)];
    std::vector<std::uint8_t> out;
    std::uint64_t frames = 0;
    for (auto _ : state) {
        frames = RenderOurs(image, setting, out);
        benchmark::DoNotOptimize(out.data());
    }
    SetRealtime(state, frames, setting.rate);
}

void Openmpt(benchmark::State& state) {
    const auto image = SongImage(static_cast<int>(state.range(0)));
    const Case& setting = kCases[state.range(1)];
    openmpt_module* mod = OpenOpenmpt(image, setting.linear);
    std::vector<std::int16_t> buffer(2 * 4096);
    std::uint64_t frames = 0;
    for (auto _ : state) frames = RenderOpenmpt(mod, setting.rate, setting.stereo, buffer);
    openmpt_module_destroy(mod);
    SetRealtime(state, frames, setting.rate);
}

void Xmp(benchmark::State& state) {
    const auto image = SongImage(static_cast<int>(state.range(0)));
    const Case& setting = kCases[state.range(1)];
    xmp_context context = OpenXmp(image, setting.rate, setting.stereo, setting.linear);
    std::uint64_t frames = 0;
    for (auto _ : state) frames = RenderXmp(context, setting.stereo);
    xmp_end_player(context);
    xmp_release_module(context);
    xmp_free_context(context);
    SetRealtime(state, frames, setting.rate);
}

// Song by song, each setting: ours, then the peers, so the rows to compare
// stand together.
void Cases(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"song", "setting"});
    for (int song = 0; song < kSongCount; ++song)
        for (const int setting : {kAccurateStereo44k, kClassicMono11k}) bench->Args({song, setting});
    bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(Ours)->Apply(Cases);
BENCHMARK(Xmp)->Apply(Cases);
BENCHMARK(Openmpt)->Apply(Cases);

double Seconds(const std::vector<std::uint8_t>& image, const ReplayProfile& profile, std::uint32_t rate) {
    Module module;
    module.useImage(image.data(), image.size());
    return static_cast<double>(SongFrames(module, {.rate = rate, .profile = profile})) / rate;
}

// The classic ticks last rate / 50 + 1 frames, a little over 20 ms; the
// accurate ones and the peers' exactly 20 ms at tempo 125.
void PrintDurations() {
    std::printf("%-14s %11s %11s %10s %10s %11s\n", "song", "accurate s", "classic s", "openmpt s", "xmp s",
                "acc vs mpt");
    for (int song = 0; song < kSongCount; ++song) {
        const auto image = SongImage(song);
        const double accurate = Seconds(image, kCases[kAccurateStereo44k].profile, 44100);
        const double classic = Seconds(image, kCases[kClassicMono11k].profile, 44100);
        openmpt_module* mod = OpenOpenmpt(image, false);
        const double openmpt = openmpt_module_get_duration_seconds(mod);
        openmpt_module_destroy(mod);
        xmp_context context = OpenXmp(image, 44100, false, false);
        xmp_frame_info info;
        xmp_get_frame_info(context, &info);
        const double xmp = info.total_time / 1000.0;
        xmp_end_player(context);
        xmp_release_module(context);
        xmp_free_context(context);
        std::printf("%-14s %11.3f %11.3f %10.3f %10.3f %+10.2f%%\n", kSongs[song], accurate, classic, openmpt, xmp,
                    100.0 * (accurate / openmpt - 1));
    }
    std::printf("\n");
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
