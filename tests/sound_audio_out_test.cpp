// The engine on a device of its own kind, which the test pulls by hand or
// which pulls on a thread of its own as a desktop's audio does. And the
// headless sound device's play position, which runs with the virtual
// clock: a buffer plays from the later of where the last one ended and where
// the position stood when it became ready, and is handed back at its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_out.h"
#include "sound_test_support.h"

using namespace sound_test;
using platform::headless::AdvanceTo, platform::headless::Now;

namespace {

// A device that notes what the engine asked of it and plays when the test
// tells it to; or, if `freeRunning` is set before it opens, as fast as a
// thread of its own runs, as SDL's audio thread does when the machine is ahead.
class TestDevice final : public platform::AudioOut {
public:
    std::uint32_t frames = 50;
    bool freeRunning = false;
    platform::AudioFormat format;
    std::string calls;
    std::atomic<std::uint64_t> heardBytes{0}, pulledBuffers{0};  // by the thread

    std::uint32_t bufferFrames(std::uint32_t, std::uint32_t) const override { return frames; }
    bool open(const platform::AudioFormat& f, platform::AudioSource& s) override {
        calls += "open ";
        format = f;
        source_ = &s;
        heardBytes = 0;
        running_ = freeRunning;
        if (freeRunning) thread_ = std::thread([this] { pullUntilClosed(); });
        return true;
    }
    void pause() override {
        calls += "pause ";
        playing_ = false;
    }
    void resume() override {
        calls += "resume ";
        playing_ = true;
    }
    void close() override {
        calls += "close";
        running_ = false;
        if (thread_.joinable()) thread_.join();
    }

    // Plays the next buffer: waits for it as a real device's clock would.
    std::vector<std::uint8_t> playOne() {
        source_->awaitRefill();
        const std::span<const std::uint8_t> bytes = source_->nextBuffer();
        std::vector<std::uint8_t> played(bytes.begin(), bytes.end());
        source_->release();
        return played;
    }

private:
    void pullUntilClosed() {
        while (running_) {
            const std::span<const std::uint8_t> bytes =
                playing_ ? source_->nextBuffer() : std::span<const std::uint8_t>();
            if (bytes.empty()) {
                std::this_thread::yield();
                continue;
            }
            heardBytes += static_cast<std::uint64_t>(
                std::count_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != kSilence; }));
            ++pulledBuffers;
            source_->release();
        }
    }

    platform::AudioSource* source_ = nullptr;
    std::thread thread_;
    std::atomic<bool> running_{false}, playing_{false};
};

}  // namespace

TEST(SoundEngineOnADevice, TakesTheDevicesBufferLengthAndStartsWithFiveShortSilentBuffers) {
    TestDevice device;
    DeviceScope scope(&device);
    SoundSystem engine;
    ASSERT_EQ(engine.start(22050, 0, 8, 1), 1);
    EXPECT_EQ(device.calls, "open resume ");
    EXPECT_EQ(device.format.rate, 22050u);
    EXPECT_EQ(device.format.channels, 2u);
    EXPECT_EQ(engine.bufferFrames(), 50u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(device.playOne(), std::vector<std::uint8_t>(8, 128)) << i;
    EXPECT_EQ(device.playOne().size(), 100u);  // 50 stereo frames
    engine.shutdown();
    EXPECT_EQ(device.calls, "open resume pause close");
}

// Run under ThreadSanitizer this guards the rotation's locking.
TEST(SoundEngineOnADevice, ADevicePullingOnItsOwnThreadHearsTheSoundThroughPausesAndShutdowns) {
    TestDevice device;
    device.freeRunning = true;
    DeviceScope scope(&device);
    SoundSystem engine;
    HeldSample s({.data = std::vector<std::uint8_t>(4, 255)}, true);
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(engine.start(11025, 1, 8, round % 2), 1);
        engine.playSample(s.sample);
        while (device.heardBytes == 0) std::this_thread::yield();
        engine.pause();
        engine.resume();
        const std::uint64_t pulled = device.pulledBuffers;
        while (device.pulledBuffers < pulled + 10) std::this_thread::yield();
        if (round % 3 == 0) engine.pause();  // shut down while paused, too
        engine.shutdown();
    }
}

TEST(HeadlessSoundDevice, KeepsItsPlacePastTheClocksWrapAfterFortyNineDaysOfPlay) {
    HeadlessPlatform headless;
    platform::AudioOut& device = platform::headless::HeadlessAudioOut();
    ScriptedSource source(1000);  // one second at 1000 Hz
    source.supply = 0;
    ASSERT_TRUE(device.open({1000, 1}, source));
    device.resume();
    source.supply = 1;
    device.resume();  // the device notes the ready buffer
    AdvanceTo(Now() + 1000);
    ASSERT_EQ(source.given, 1u);

    // Nothing plays for 2^32 - 500 ms: the program's clock wraps on the way
    // and now reads 500 ms past the first buffer's start, short of its end.
    constexpr std::uint32_t kQuarter = 1u << 30;
    for (int i = 0; i < 3; ++i) AdvanceTo(Now() + kQuarter);
    AdvanceTo(Now() + kQuarter - 500);

    // Paused and resumed with a buffer ready, the device plays it from where
    // its position stands, for one second.
    device.pause();
    source.supply = 2;
    device.resume();
    AdvanceTo(Now() + 999);
    EXPECT_EQ(source.given, 1u);
    AdvanceTo(Now() + 1);
    EXPECT_EQ(source.given, 2u);
    device.close();
}
