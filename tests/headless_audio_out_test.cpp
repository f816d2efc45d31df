// The headless sound device's play position, which runs with the virtual
// clock: a buffer plays from the later of where the last one ended and where
// the position stood when it became ready, and is handed back at its end.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "sound_test_support.h"

namespace {

using platform::headless::AdvanceTo;
using platform::headless::Now;

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

TEST(HeadlessSoundDevice, KeepsItsPlacePastTheClocksWrapAfterFortyNineDaysOfPlay) {
    sound_test::HeadlessPlatform headless;
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
