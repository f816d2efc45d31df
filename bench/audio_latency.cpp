// Measures the desktop sound path as a player meets it: the game's engine
// (11025 Hz, mono, 16 voices) on the SDL audio out, a short loud sample
// started every 150 to 350 ms, and for each the time from playSample to the
// moment SDL's audio thread copies its first frame out. Adding SDL's own
// device buffer gives trigger to device. Also reports the pace at which the
// driver pulls (frames per second of real time) and the underruns.
//
//   orbitfend-audio-latency [SECONDS]   (SDL_AUDIODRIVER=dummy to run without a card)
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_out.h"
#include "platform/sdl/sdl_backend.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

namespace {

using Clock = std::chrono::steady_clock;

// Passes the engine's buffers through to the device and notes when the first
// sounding byte after a silence is taken, and how many frames were taken.
class Tap final : public platform::AudioSource {
public:
    platform::AudioSource* inner = nullptr;
    std::uint32_t rate = 11025;

    std::span<const std::uint8_t> nextBuffer() override {
        const std::span<const std::uint8_t> bytes = inner->nextBuffer();
        if (bytes.empty() || bytes.data() == seen_) return bytes;
        seen_ = bytes.data();
        const auto now = Clock::now();
        if (!firstPull_) firstPull_ = now;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool sounding = bytes[i] != 128;
            if (sounding && !sounding_) {
                // The byte leaves the engine `i` frames after the buffer's first.
                std::lock_guard<std::mutex> hold(mutex_);
                onsets_.push_back(now + std::chrono::microseconds(1000000ull * i / rate));
                onsetFrames_.push_back(frames_ + i);
            }
            sounding_ = sounding;
        }
        frames_ += bytes.size();
        lastPull_ = now;
        return bytes;
    }
    void release() override { inner->release(); }
    std::size_t readyCount() override { return inner->readyCount(); }
    void awaitRefill() override { inner->awaitRefill(); }

    std::vector<Clock::time_point> onsets() {
        std::lock_guard<std::mutex> hold(mutex_);
        return onsets_;
    }
    std::vector<std::uint64_t> onsetFrames() {
        std::lock_guard<std::mutex> hold(mutex_);
        return onsetFrames_;
    }
    // Frames the device has taken so far: the stream's own clock.
    std::uint64_t framesTaken() const { return frames_; }
    double pace() const {
        const double seconds = std::chrono::duration<double>(lastPull_ - *firstPull_).count();
        return seconds > 0 ? static_cast<double>(frames_) / seconds : 0;
    }

private:
    const std::uint8_t* seen_ = nullptr;
    bool sounding_ = false;
    std::optional<Clock::time_point> firstPull_;
    Clock::time_point lastPull_;
    std::atomic<std::uint64_t> frames_{0};
    std::mutex mutex_;
    std::vector<Clock::time_point> onsets_;
    std::vector<std::uint64_t> onsetFrames_;
};

// The SDL device with the tap between it and the engine.
class TappedOut final : public platform::AudioOut {
public:
    explicit TappedOut(std::unique_ptr<platform::AudioOut> device) : device_(std::move(device)) {}
    Tap tap;
    std::uint32_t bufferFrames(std::uint32_t rate, std::uint32_t rule) const override {
        return device_->bufferFrames(rate, rule);
    }
    bool open(const platform::AudioFormat& format, platform::AudioSource& source) override {
        tap.inner = &source;
        tap.rate = format.rate;
        return device_->open(format, tap);
    }
    void pause() override { device_->pause(); }
    void resume() override { device_->resume(); }
    void close() override { device_->close(); }
    void promoteFillingThread() override { device_->promoteFillingThread(); }
    std::uint32_t deviceBufferFrames() const override { return device_->deviceBufferFrames(); }
    std::uint64_t underruns() const override { return device_->underruns(); }

private:
    std::unique_ptr<platform::AudioOut> device_;
};

// A RIFF WAVE image of 40 ms at full level.
std::vector<std::uint8_t> LoudWave() {
    std::vector<std::uint8_t> w;
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const std::uint32_t frames = 441;
    w.insert(w.end(), {'R', 'I', 'F', 'F'});
    put(36 + frames, 4);
    w.insert(w.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4), put(1, 2), put(1, 2), put(11025, 4), put(11025, 4), put(1, 2), put(8, 2);
    w.insert(w.end(), {'d', 'a', 't', 'a'});
    put(frames, 4);
    w.insert(w.end(), frames, 255);
    return w;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    TappedOut out(platform::sdl::MakeSdlAudioOut("orbitfend-audio-latency"));
    platform::SetActiveAudioOut(&out);
    SoundSystem engine;
    if (engine.start(11025, 0, 16, 0) == 0) {
        std::fprintf(stderr, "orbitfend-audio-latency: no sound device\n");
        return 3;
    }
    const std::vector<std::uint8_t> wave = LoudWave();
    Sample sample;
    sample.loadImage(wave.data(), wave.size());

    // A sound server may take a second to start the stream; sounds started
    // meanwhile would all begin in its first buffer.
    const auto giveUp = Clock::now() + std::chrono::seconds(10);
    while (out.tap.framesTaken() < 11025 / 10 && Clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::vector<Clock::time_point> triggers;
    std::vector<std::uint64_t> triggerFrames;
    std::mt19937 random(7);
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + random() % 200));
        triggers.push_back(Clock::now());
        triggerFrames.push_back(out.tap.framesTaken());
        engine.playSample(sample);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::uint32_t bufferFrames = engine.bufferFrames();
    const std::uint32_t deviceFrames = out.deviceBufferFrames();
    engine.shutdown();

    const std::vector<Clock::time_point> onsets = out.tap.onsets();
    const std::vector<std::uint64_t> onsetFrames = out.tap.onsetFrames();
    std::vector<double> latencies, streamLatencies;
    for (std::size_t i = 0; i < triggers.size() && i < onsets.size(); ++i) {
        latencies.push_back(Ms(onsets[i] - triggers[i]));
        streamLatencies.push_back(1000.0 * static_cast<double>(onsetFrames[i] - triggerFrames[i]) / 11025);
    }
    std::sort(latencies.begin(), latencies.end());
    std::sort(streamLatencies.begin(), streamLatencies.end());
    const double deviceMs = 1000.0 * deviceFrames / 11025;
    const double bufferMs = 1000.0 * bufferFrames / 11025;
    std::printf("driver: %s\n", std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "(SDL's choice)");
    std::printf("buffers: 5 x %u frames (%.1f ms), SDL device buffer %.1f ms\n", bufferFrames, bufferMs, deviceMs);
    // The engine renders when the device pulls and refills what it took, so
    // a sound started just after a render waits one pull for the next
    // render, plays behind what the ring kept back from that pull, and is
    // copied out at the pull after; SDL's buffer then plays it.
    const double keptBackMs = 5 * bufferMs - deviceMs;
    std::printf(
        "worst case by the sizes: trigger to copy-out %.1f ms (SDL's buffer twice and %.1f ms the ring keeps "
        "back), to device %.1f ms\n",
        2 * deviceMs + keptBackMs, keptBackMs, 3 * deviceMs + keptBackMs);
    std::printf("driver pace: %.0f frames/s for 11025 (%.3fx real time)\n", out.tap.pace(), out.tap.pace() / 11025);
    if (triggers.size() != onsets.size())
        std::printf("warning: %zu triggers, %zu onsets\n", triggers.size(), onsets.size());
    if (!latencies.empty()) {
        auto at = [&](double q) { return latencies[static_cast<std::size_t>(q * (latencies.size() - 1))]; };
        std::printf("trigger to copy-out, %zu sounds: min %.1f  median %.1f  p99 %.1f  max %.1f ms\n", latencies.size(),
                    latencies.front(), at(0.5), at(0.99), latencies.back());
        // A bound: a driver pulls when its buffer is nearly played out, so
        // SDL's buffer is seldom full ahead of the sound just taken.
        std::printf("trigger to copy-out plus the whole of SDL's buffer (a bound): max %.1f ms\n",
                    latencies.back() + deviceMs);
        auto sat = [&](double q) {
            return streamLatencies[static_cast<std::size_t>(q * (streamLatencies.size() - 1))];
        };
        std::printf(
            "the same in stream time (frames taken meanwhile, as at a card's pace): min %.1f  median %.1f  "
            "max %.1f ms; + SDL's buffer: max %.1f ms\n",
            streamLatencies.front(), sat(0.5), streamLatencies.back(), streamLatencies.back() + deviceMs);
    }
    std::printf("underruns: %llu\n", static_cast<unsigned long long>(out.underruns()));
    platform::SetActiveAudioOut(nullptr);
    return 0;
}
