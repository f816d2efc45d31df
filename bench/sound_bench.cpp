// The mixer against a plain reference loop, side by side: sixteen playing
// voices at 44100 Hz stereo and at 11025 Hz mono. The counter x_realtime is
// how many seconds of sound one second of mixing makes.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "sound/mixer.h"
#include "sound/music_channel.h"
#include "sound/sample.h"
#include "sound/sample_voice.h"
#include "sound/wave_writer.h"

namespace {

constexpr int kVoices = 16;
constexpr std::uint32_t kSampleBytes = 5000;

std::string waveImage(std::uint32_t rate) {
    const auto header = wave::Header({rate, 1, 8}, kSampleBytes);
    std::string s(header.begin(), header.end());
    std::uint32_t noise = 1;
    for (std::uint32_t i = 0; i < kSampleBytes; ++i) {
        noise = noise * 1664525u + 1013904223u;
        s.push_back(static_cast<char>(noise >> 24));
    }
    return s;
}

// Sixteen looping voices, each started on the same 11025 Hz sample.
struct VoiceSet {
    std::string image = waveImage(11025);
    Sample sample;
    std::atomic<std::uint32_t> master{64};
    MusicChannel music[1];  // the game's one idle music channel
    SampleVoice voices[kVoices];

    explicit VoiceSet(std::uint32_t outputRate) {
        sample.loadImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
        sample.setLoop(true);
        sample.setVolume(40);
        music[0].masterVolume = &master;
        for (SampleVoice& voice : voices) {
            voice.masterVolume = &master;
            voice.startSample(sample, outputRate);
        }
    }
    ChannelPools pools() { return ChannelPools{music, 1, voices, kVoices}; }
};

// What the mixing costs at its simplest: per voice and frame one byte load,
// one multiplication, one addition and a fixed-point step with an end check.
struct ReferenceVoice {
    const std::uint8_t* data;
    std::uint32_t position, step, length;
    std::int32_t volume;
};

template <bool Stereo>
void referenceMix(std::uint8_t* out, std::uint32_t frames, ReferenceVoice* voices) {
    for (std::uint32_t f = 0; f < frames; ++f) {
        std::int32_t acc = 0;
        for (int v = 0; v < kVoices; ++v) {
            ReferenceVoice& r = voices[v];
            if (r.position >= r.length) r.position -= r.length;
            acc += r.volume * (static_cast<std::int32_t>(r.data[r.position >> 8]) - 128);
            r.position += r.step;
        }
        *out++ = OutputByte(acc);
        if constexpr (Stereo) *out++ = OutputByte(acc);
    }
}

void reportRealtime(benchmark::State& state, std::uint32_t rate, std::uint32_t frames) {
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * frames / rate, benchmark::Counter::kIsRate);
}

void BM_Mixer(benchmark::State& state) {
    const auto rate = static_cast<std::uint32_t>(state.range(0));
    const bool stereo = state.range(1) != 0;
    const std::uint32_t frames = rate == 44100 ? 1176 : 298;
    VoiceSet set(rate);
    std::vector<std::uint8_t> out(frames * 2);
    const ChannelPools pools = set.pools();
    for (auto _ : state) {
        RenderFrames(out.data(), frames, pools, stereo);
        benchmark::DoNotOptimize(out.data());
    }
    reportRealtime(state, rate, frames);
}

void BM_ReferenceLoop(benchmark::State& state) {
    const auto rate = static_cast<std::uint32_t>(state.range(0));
    const bool stereo = state.range(1) != 0;
    const std::uint32_t frames = rate == 44100 ? 1176 : 298;
    VoiceSet set(rate);
    ReferenceVoice voices[kVoices];
    for (ReferenceVoice& r : voices)
        r = {set.sample.data(), 0, SampleVoice::stepFor(11025, rate), kSampleBytes << 8, 40};
    std::vector<std::uint8_t> out(frames * 2);
    for (auto _ : state) {
        if (stereo)
            referenceMix<true>(out.data(), frames, voices);
        else
            referenceMix<false>(out.data(), frames, voices);
        benchmark::DoNotOptimize(out.data());
    }
    reportRealtime(state, rate, frames);
}

}  // namespace

BENCHMARK(BM_Mixer)->Args({44100, 1})->Args({11025, 0});
BENCHMARK(BM_ReferenceLoop)->Args({44100, 1})->Args({11025, 0});

BENCHMARK_MAIN();
