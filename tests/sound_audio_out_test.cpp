// The engine on devices of its own kind: one that the test pulls by hand,
// and one that pulls on a thread of its own as a desktop's audio does. And
// the headless sound device's play position, which runs with the virtual
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

// A device that plays only when told to, and notes what the engine asked of it.
class HandDevice final : public platform::AudioOut {
public:
    std::uint32_t frames = 50;
    platform::AudioSource* source = nullptr;
    platform::AudioFormat format;
    std::string calls;

    std::uint32_t bufferFrames(std::uint32_t, std::uint32_t) const override { return frames; }
    bool open(const platform::AudioFormat& f, platform::AudioSource& s) override {
        calls += "open ";
        format = f;
        source = &s;
        return true;
    }
    void pause() override { calls += "pause "; }
    void resume() override { calls += "resume "; }
    void close() override {
        calls += "close";
        source = nullptr;
    }

    // Plays the next buffer: waits for it as a real device's clock would.
    std::vector<std::uint8_t> playOne() {
        source->awaitRefill();
        const std::span<const std::uint8_t> bytes = source->nextBuffer();
        std::vector<std::uint8_t> played(bytes.begin(), bytes.end());
        source->release();
        return played;
    }
};

// A source of one buffer, which the test makes ready when it likes.
struct OneBufferSource : platform::AudioSource {
    explicit OneBufferSource(std::size_t frames) : bytes(frames, 128) {}
    std::span<const std::uint8_t> nextBuffer() override {
        return ready != 0 ? std::span<const std::uint8_t>(bytes) : std::span<const std::uint8_t>();
    }
    void release() override {
        ready = 0;
        ++released;
    }
    std::size_t readyCount() override { return ready; }
    void awaitRefill() override {}

    std::vector<std::uint8_t> bytes;
    std::size_t ready = 0;
    int released = 0;
};

}  // namespace

TEST(SoundEngineOnADevice, TakesTheDevicesBufferLengthAndStartsWithFiveShortSilentBuffers) {
    HandDevice device;
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

// A device that pulls as fast as its thread runs, as SDL's audio thread does
// when the machine is ahead; the engine is started, paused, resumed and shut
// down under it. Run under ThreadSanitizer this guards the rotation's locking.
class FreeRunningDevice final : public platform::AudioOut {
public:
    std::uint32_t bufferFrames(std::uint32_t, std::uint32_t) const override { return 64; }
    bool open(const platform::AudioFormat&, platform::AudioSource& source) override {
        source_ = &source;
        heard_ = 0;
        running_ = true;
        thread_ = std::thread([this] { pullUntilClosed(); });
        return true;
    }
    void pause() override { playing_ = false; }
    void resume() override { playing_ = true; }
    void close() override {
        running_ = false;
        thread_.join();
    }
    std::uint64_t heardBytes() const { return heard_; }
    std::uint64_t pulledBuffers() const { return pulled_; }

private:
    void pullUntilClosed() {
        while (running_) {
            if (!playing_) {
                std::this_thread::yield();
                continue;
            }
            const std::span<const std::uint8_t> bytes = source_->nextBuffer();
            if (bytes.empty()) {
                std::this_thread::yield();
                continue;
            }
            heard_ += static_cast<std::uint64_t>(
                std::count_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 128; }));
            ++pulled_;
            source_->release();
        }
    }

    platform::AudioSource* source_ = nullptr;
    std::thread thread_;
    std::atomic<bool> running_{false}, playing_{false};
    std::atomic<std::uint64_t> heard_{0}, pulled_{0};
};

TEST(SoundEngineOnADevice, ADevicePullingOnItsOwnThreadHearsTheSoundThroughPausesAndShutdowns) {
    FreeRunningDevice device;
    DeviceScope scope(&device);
    SoundSystem engine;
    HeldSample s({.data = std::vector<std::uint8_t>(4, 255)}, true);
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(engine.start(11025, 1, 8, round % 2), 1);
        engine.playSample(s.sample);
        while (device.heardBytes() == 0) std::this_thread::yield();
        engine.pause();
        engine.resume();
        const std::uint64_t pulled = device.pulledBuffers();
        while (device.pulledBuffers() < pulled + 10) std::this_thread::yield();
        if (round % 3 == 0) engine.pause();  // shut down while paused, too
        engine.shutdown();
    }
}

TEST(HeadlessSoundDevice, KeepsItsPlacePastTheClocksWrapAfterFortyNineDaysOfPlay) {
    HeadlessPlatform headless;
    platform::AudioOut& device = platform::headless::HeadlessAudioOut();
    OneBufferSource source(1000);  // one second at 1000 Hz
    ASSERT_TRUE(device.open({1000, 1}, source));
    device.resume();
    source.ready = 1;
    device.resume();  // the device notes the ready buffer
    AdvanceTo(Now() + 1000);
    ASSERT_EQ(source.released, 1);

    // Nothing plays for 2^32 - 500 ms: the program's clock wraps on the way
    // and now reads 500 ms past the first buffer's start, short of its end.
    constexpr std::uint32_t kQuarter = 1u << 30;
    for (int i = 0; i < 3; ++i) AdvanceTo(Now() + kQuarter);
    AdvanceTo(Now() + kQuarter - 500);

    // Paused and resumed with a buffer ready, the device plays it from where
    // its position stands, for one second.
    device.pause();
    source.ready = 1;
    device.resume();
    AdvanceTo(Now() + 999);
    EXPECT_EQ(source.released, 1);
    AdvanceTo(Now() + 1);
    EXPECT_EQ(source.released, 2);
    device.close();
}
