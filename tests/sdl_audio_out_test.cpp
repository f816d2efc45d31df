// The desktop's sound device on SDL's dummy audio driver, which pulls as a
// sound card would but plays nowhere; and on a driver that does not exist.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_backend.h"
#include "support/headless_run.h"

namespace {

// One full buffer of sound, then nothing: the device must run dry.
class OneBufferSource final : public platform::AudioSource {
public:
    explicit OneBufferSource(std::size_t bytes) : buffer_(bytes, 200) {}
    std::span<const std::uint8_t> nextBuffer() override {
        if (given_) return {};
        return buffer_;
    }
    void release() override { given_ = true; }
    std::size_t readyCount() override { return given_ ? 0 : 1; }
    void awaitRefill() override {}

private:
    std::vector<std::uint8_t> buffer_;
    bool given_ = false;
};

}  // namespace

TEST(SdlAudioOut, CountsTheTimesASourceThatHasPlayedRunsDry) {
    testing_support::EnvironmentScope dummy("SDL_AUDIODRIVER", "dummy");
    auto device = platform::sdl::MakeSdlAudioOut("test");
    const std::uint32_t frames = device->bufferFrames(11025, 298);
    EXPECT_LT(frames, 298u);  // shorter than the handheld's, to answer sooner
    OneBufferSource source(frames);
    ASSERT_TRUE(device->open({11025, 1}, source));
    EXPECT_EQ(device->underruns(), 0u);
    device->resume();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (device->underruns() == 0 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    device->close();
    EXPECT_GT(device->underruns(), 0u);
}

TEST(SdlAudioOut, WithoutADriverItRefusesAndSaysSoInOneLineOnce) {
    testing_support::EnvironmentScope none("SDL_AUDIODRIVER", "no-such-driver");
    auto device = platform::sdl::MakeSdlAudioOut("test", "test: no sound device");
    OneBufferSource source(64);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(device->open({11025, 1}, source));
    EXPECT_FALSE(device->open({11025, 1}, source));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "test: no sound device\n");
}
