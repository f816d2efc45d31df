// The desktop's sound device on SDL's dummy audio driver, which pulls as a
// sound card would but plays nowhere; and on a driver that does not exist.
#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_backend.h"
#include "sound/sound_system.h"
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

// Always ready; notes the scheduling class of the thread that pulls.
class ReadySource final : public platform::AudioSource {
public:
    std::span<const std::uint8_t> nextBuffer() override {
        pullingClass = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
        return buffer_;
    }
    void release() override {}
    std::size_t readyCount() override { return 1; }
    void awaitRefill() override {}
    std::atomic<int> pullingClass{-1};

private:
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(64, 128);
};

bool RealTimeGranted() {
    bool granted = false;
    std::thread([&] {
        const sched_param level{1};
        granted = sched_setscheduler(0, SCHED_RR, &level) == 0;
    }).join();
    return granted;
}

}  // namespace

TEST(SdlAudioOut, PullsWholeEngineBuffersAndHearsASoundWithinFortyMilliseconds) {
    testing_support::EnvironmentScope dummy("SDL_AUDIODRIVER", "dummy");
    for (const std::uint32_t rate : {11025u, 22050u, 44100u}) {
        auto device = platform::sdl::MakeSdlAudioOut("test");
        const std::uint32_t buffer = device->bufferFrames(rate, 298);
        ReadySource source;
        ASSERT_TRUE(device->open({rate, 1}, source));
        const std::uint32_t pull = device->deviceBufferFrames();
        device->close();
        // A pull the ring cannot cover, or one that cuts a buffer, runs dry every time.
        EXPECT_EQ(pull % buffer, 0u) << rate;
        EXPECT_LE(pull, SoundSystem::kBufferCount * buffer) << rate;
        // A sound started just after a pull: a pull to its render, the ring, SDL's buffer.
        EXPECT_LE(1000.0 * (pull + SoundSystem::kBufferCount * buffer) / rate, 40.0) << rate;
    }
}

TEST(SdlAudioOut, RunsBothSoundThreadsAheadOfOrdinaryWorkWhereTheSystemAllows) {
    if (!RealTimeGranted()) GTEST_SKIP() << "this user may not use the real-time class";
    testing_support::EnvironmentScope dummy("SDL_AUDIODRIVER", "dummy");
    auto device = platform::sdl::MakeSdlAudioOut("test");
    ReadySource source;
    ASSERT_TRUE(device->open({11025, 1}, source));
    device->resume();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (source.pullingClass == -1 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    device->close();
    EXPECT_EQ(source.pullingClass, SCHED_RR);

    int fillingClass = -1;
    std::thread([&] {
        device->promoteFillingThread();
        fillingClass = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    }).join();
    EXPECT_EQ(fillingClass, SCHED_RR);
}

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
