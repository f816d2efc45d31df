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

    explicit VoiceBench(std::vector<std::uint8_t> data, std::uint32_t rate = 11025) : held(spec(data, rate)) {
        voice.masterVolume = &master;
    }
    static WaveSpec spec(std::vector<std::uint8_t> data, std::uint32_t rate) {
        WaveSpec s;
        s.data = std::move(data);
        s.rate = rate;
        return s;
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

TEST(VoiceMixing, FullScaleByteAtFullVolumeAddsItsExactWeightPerSide) {
    VoiceBench mono({255});
    mono.start();
    EXPECT_EQ(mono.frame<false>(), std::make_pair(127 * 64, 0));

    VoiceBench centre({255});
    centre.start(128);
    EXPECT_EQ(centre.frame<true>(), std::make_pair(127 * 64, 127 * 64));

    // Off centre the weight doubles and is split by the pan.
    VoiceBench hardLeft({255});
    hardLeft.start(0);
    EXPECT_EQ(hardLeft.frame<true>(), std::make_pair(127 * 128, 0));

    VoiceBench hardRight({255});
    hardRight.start(255);
    EXPECT_EQ(hardRight.frame<true>(), std::make_pair(127 * 1, 127 * 127));

    VoiceBench lowest({0});
    lowest.start();
    EXPECT_EQ(lowest.frame<false>().first, -128 * 64);
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

TEST(OutputByte, ShiftsBySevenAndClipsAtBothEnds) {
    EXPECT_EQ(OutputByte(0), 128);
    EXPECT_EQ(OutputByte(127), 128);  // below one step
    EXPECT_EQ(OutputByte(-1), 127);   // the shift is arithmetic
    EXPECT_EQ(OutputByte(2 * 127 * 64), 255);
    EXPECT_EQ(OutputByte(3 * 127 * 64), 255);
    EXPECT_EQ(OutputByte(2 * -128 * 64), 0);
    EXPECT_EQ(OutputByte(3 * -128 * 64), 0);
}

TEST(VoiceStep, IsTheRateRatioInEightDotEightTruncated) {
    EXPECT_EQ(SampleVoice::stepFor(11025, 11025), 256u);
    EXPECT_EQ(SampleVoice::stepFor(11025, 22050), 128u);
    EXPECT_EQ(SampleVoice::stepFor(11025, 44100), 64u);
    EXPECT_EQ(SampleVoice::stepFor(8000, 22050), 92u);  // 92.88 truncated
    EXPECT_EQ(SampleVoice::stepFor(44100, 11025), 1024u);
}

TEST(VoiceStep, AHundredByteSampleAtStep256LastsExactlyAHundredFrames) {
    VoiceBench bench(std::vector<std::uint8_t>(100, 255));
    bench.start();
    for (int frame = 0; frame < 100; ++frame) {
        ASSERT_TRUE(bench.voice.isPlaying()) << frame;
        ASSERT_EQ(bench.frame<false>().first, 127 * 64) << frame;
    }
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
