// Helpers of the sound tests: WAVE images built in memory, and a sound
// engine started on the headless device whose virtual clock the test moves.
#pragma once

#include <cstdint>
#include <memory>
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

inline void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline std::string Chunk(const char* id, const std::string& body) {
    std::string s(id, 4);
    put32(s, static_cast<std::uint32_t>(body.size()));
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

}  // namespace sound_test
