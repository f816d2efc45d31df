// Helpers of the sound tests: WAVE images built in memory, a sound engine
// started on the headless device whose virtual clock the test moves, and
// buffers on a script for a device to play.
#pragma once

#include <sched.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/audio_out.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "sound/sample.h"
#include "sound/sound_system.h"
#include "sound/wave_writer.h"

namespace sound_test {

struct WaveSpec {
    std::uint16_t channels = 1;
    std::uint16_t bits = 8;
    std::uint32_t rate = 11025;
    std::uint32_t formatSize = 16;
    std::string chunksBeforeData{};  // whole chunks, headers included
    std::vector<std::uint8_t> data = std::vector<std::uint8_t>(DefaultData, DefaultData + 4);
    static constexpr std::uint8_t DefaultData[4] = {128, 200, 50, 255};
};

inline std::string Chunk(const char* id, const std::string& body) {
    std::string s(id, 4);
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((body.size() >> (8 * i)) & 0xFF));
    return s + body;
}

// A WAVE image after `spec`: the writer's header, with the format chunk
// lengthened and chunks slipped in before the data as `spec` describes.
inline std::string WaveBytes(const WaveSpec& spec) {
    const auto header = wave::Header({spec.rate, spec.channels, spec.bits},
                                     static_cast<std::uint32_t>(spec.data.size()), wave::Padding::none);
    std::string s(header.begin(), header.end());
    s[16] = static_cast<char>(spec.formatSize & 0xFF);
    s[17] = static_cast<char>(spec.formatSize >> 8);
    const std::string data = s.substr(36) + std::string(spec.data.begin(), spec.data.end());
    s.resize(36);
    if (spec.formatSize > 16) s.append(spec.formatSize - 16, '\0');
    return s + spec.chunksBeforeData + data;
}

// A sample whose bytes live in the fixture (loaded in place).
struct HeldSample {
    std::string bytes;
    Sample sample;
    explicit HeldSample(const WaveSpec& spec, bool loop = false) : bytes(WaveBytes(spec)) {
        sample.loadImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        sample.setLoop(loop);
    }
};

// Makes `out` (or none) the program's sound device for as long as it lives.
struct DeviceScope {
    explicit DeviceScope(platform::AudioOut* out) { platform::SetActiveAudioOut(out); }
    ~DeviceScope() { platform::SetActiveAudioOut(nullptr); }
};

// The headless backend, with its sound device or none, for as long as it lives.
class HeadlessPlatform {
public:
    explicit HeadlessPlatform(bool withDevice = true)
        : backend_(platform::headless::OpenHeadlessBackend({})),
          device_(withDevice ? &platform::headless::HeadlessAudioOut() : nullptr) {}

private:
    std::unique_ptr<platform::Backend> backend_;
    DeviceScope device_;  // let go of before the backend closes
};

constexpr std::uint8_t kSilence = 128;

// The sound of the nth full buffer: never silence, and not its neighbours'.
inline std::uint8_t Stamp(std::size_t n) { return static_cast<std::uint8_t>(129 + n % 127); }

// Buffers on a script, as the engine gives them: a few short silent ones to
// start, then full ones, each of one sound of its own (Stamp); a supply that
// ends, and pulls whose first look finds nothing, as when the mixing thread
// is a moment late. Notes the scheduling class of the thread that pulls.
class ScriptedSource final : public platform::AudioSource {
public:
    explicit ScriptedSource(std::size_t bytes) : buffer_(bytes) {}
    // Set before a device that pulls on a thread of its own resumes.
    std::size_t perPull = 1;        // buffers a pull takes
    std::size_t starting = 0;       // short silent buffers before the full ones
    std::size_t supply = SIZE_MAX;  // buffers given in all, the starting ones included
    std::size_t lateFor = 0;        // buffers given before the pulls come on time
    std::function<void()> onDry;    // at each look that finds the supply spent

    std::span<const std::uint8_t> nextBuffer() override {
        pullingClass = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
        if (given >= supply) {
            ++dryLooks;
            if (onDry) onDry();
            return {};
        }
        if (given < lateFor && given % perPull == 0 && !missed_) {
            missed_ = true;
            return {};
        }
        missed_ = false;
        if (given < starting) return {startingBuffer_, sizeof startingBuffer_};
        std::fill(buffer_.begin(), buffer_.end(), Stamp(given - starting));
        return buffer_;
    }
    void release() override { ++given; }
    std::size_t readyCount() override { return given < supply ? 1 : 0; }
    void awaitRefill() override {}
    std::atomic<std::size_t> given{0}, dryLooks{0};
    std::atomic<int> pullingClass{-1};

private:
    std::vector<std::uint8_t> buffer_;
    std::uint8_t startingBuffer_[8] = {kSilence, kSilence, kSilence, kSilence, kSilence, kSilence, kSilence, kSilence};
    bool missed_ = false;
};

}  // namespace sound_test
