// The mixing arithmetic of one voice and of the output byte, to the exact
// accumulator, and the fixed-point stepping through a sample.
#include <gtest/gtest.h>

#include <atomic>

#include "sound/mixer.h"
#include "sound/sample_voice.h"
#include "sound_test_support.h"

using namespace sound_test;

namespace {

// A voice with its own master volume, playing bytes from the fixture.
struct VoiceBench {
    std::atomic<std::uint32_t> master{64};
    HeldSample held;
    SampleVoice voice;

    explicit VoiceBench(std::vector<std::uint8_t> data, std::uint32_t rate = 11025)
        : held({.rate = rate, .data = std::move(data)}) {
        voice.masterVolume = &master;
    }
    void start(int pan = 128, bool loop = false) {
        held.sample.setPan(pan);
        held.sample.setLoop(loop);
        voice.startSample(held.sample, 11025);
    }
    template <bool Stereo>
    std::pair<std::int32_t, std::int32_t> frame() {
        std::int32_t left = 0, right = 0, centre = 0;
        voice.mixBlock<Stereo>(&left, &right, &centre, 1);
        return {left + centre, Stereo ? right + centre : right};
    }
};

}  // namespace

TEST(VoiceMixing, AByteAtFullVolumeAddsItsExactWeightPerSide) {
    const struct {
        std::uint8_t byte;
        int pan;
        bool stereo;
        std::int32_t left, right;
    } cases[] = {
        {255, 128, false, 127 * 64, 0},
        {0, 128, false, -128 * 64, 0},
        {255, 128, true, 127 * 64, 127 * 64},
        // Off centre the weight doubles and is split by the pan.
        {255, 0, true, 127 * 128, 0},
        {255, 255, true, 127 * 1, 127 * 127},
    };
    for (const auto& c : cases) {
        VoiceBench bench({c.byte});
        bench.start(c.pan);
        EXPECT_EQ(c.stereo ? bench.frame<true>() : bench.frame<false>(), std::make_pair(c.left, c.right))
            << int{c.byte} << " at pan " << c.pan;
    }
}

TEST(VoiceMixing, MasterVolumeScalesTheVoiceAndOutOfRangeValuesAreForced) {
    VoiceBench bench({255});
    bench.master = 32;
    bench.start();
    bench.voice.setVolume(65);
    EXPECT_EQ(bench.voice.ownVolume(), 64u);
    EXPECT_EQ(bench.voice.volume(), 32u);
    EXPECT_EQ(bench.frame<false>().first, 127 * 32);
    bench.voice.setPan(-1);
    EXPECT_EQ(bench.voice.pan(), 255u);
}

TEST(VoiceStep, AHundredByteSampleAtStep256LastsExactlyAHundredFrames) {
    VoiceBench bench(std::vector<std::uint8_t>(100, 255));
    bench.start();
    for (int frame = 0; frame < 100; ++frame) ASSERT_EQ(bench.frame<false>().first, 127 * 64) << frame;
    EXPECT_TRUE(bench.voice.isPlaying());
    EXPECT_EQ(bench.frame<false>().first, 0);  // frame 101 finds the end
    EXPECT_TRUE(bench.voice.isStopped());
}

TEST(VoiceStep, ALoopingVoiceWrapsKeepingTheFraction) {
    // 16538 Hz on 11025 gives a step of 384: one and a half bytes per frame.
    VoiceBench bench({128 + 1, 128 + 2, 128 + 3, 128 + 4}, 16538);
    bench.start(128, true);
    ASSERT_EQ(bench.voice.step(), 384u);
    std::vector<std::int32_t> levels;
    for (int frame = 0; frame < 6; ++frame) levels.push_back(bench.frame<false>().first / 64);
    // Positions 0, 1.5, 3, then 4.5 wraps to 0.5: bytes 0, 1, 3, 0, 2, 3.
    EXPECT_EQ(levels, (std::vector<std::int32_t>{1, 2, 4, 1, 3, 4}));
    EXPECT_EQ(bench.voice.position(), 1280u);  // 5, not yet wrapped
    EXPECT_TRUE(bench.voice.isPlaying());
}
