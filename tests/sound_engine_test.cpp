// The engine on the headless device: start clamps, handles, free voices,
// master volumes, the rendered bytes, and starting and stopping it again.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "sound/module.h"
#include "sound_test_support.h"

using namespace sound_test;
using platform::headless::AdvanceTo, platform::headless::Now;

namespace {

struct EngineTest : ::testing::Test {
    HeadlessPlatform platform;  // outlives the engine, which sleeps on shutdown
    SoundSystem engine;

    std::vector<std::uint8_t> render(std::uint32_t frames) {
        std::vector<std::uint8_t> out(frames << (engine.stereo() ? 1 : 0));
        engine.renderBuffer(out.data(), frames);
        return out;
    }
};

WaveSpec loud(bool loop = false) { return {.data = std::vector<std::uint8_t>(loop ? 4 : 1000, 255)}; }

}  // namespace

TEST_F(EngineTest, StartChoosesRateBufferSizeAndCountsAndASecondStartChangesNothingUntilAShutdown) {
    HeldSample s(loud());
    const struct {
        std::uint32_t rate, music, voices;
        std::uint32_t wantRate, wantFrames, wantMusic, wantVoices;
    } cases[] = {
        {11025, 0, 16, 11025, 298, 1, 16},
        {22050, 2, 2, 22050, 588, 2, 8},
        {44100, 5, 100, 44100, 1176, 3, 64},
        {8000, 3, 64, 22050, 588, 3, 64},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(engine.start(c.rate, c.music, c.voices, 0), 1);
        EXPECT_EQ(engine.start(44100, 3, 64, 1), 0);
        EXPECT_EQ(std::tuple(engine.rate(), engine.bufferFrames(), engine.musicChannelCount(), engine.voiceCount()),
                  std::tuple(c.wantRate, c.wantFrames, c.wantMusic, c.wantVoices));
        EXPECT_FALSE(engine.stereo());
        engine.playSample(s.sample);
        AdvanceTo(Now() + 30);  // the device hands a few buffers back to the mixing thread
        ASSERT_EQ(engine.shutdown(), 1);
        EXPECT_EQ(engine.voiceCount(), 0u);
    }
    ASSERT_EQ(engine.start(11025, 1), 1);  // the short form: one music channel, eight voices, stereo
    EXPECT_EQ(engine.voiceCount(), 8u);
    EXPECT_TRUE(engine.stereo());
}

TEST_F(EngineTest, WithoutADeviceNothingStartsAndEveryOperationRefuses) {
    HeadlessPlatform silent(/*withDevice=*/false);
    EXPECT_EQ(engine.start(11025, 0, 16, 0), 0);
    EXPECT_FALSE(engine.started());
    HeldSample s(loud());
    Module empty;
    EXPECT_EQ(engine.playSample(s.sample), kNoChannel);
    EXPECT_EQ(engine.playModule(empty), kNoChannel);
    EXPECT_EQ(engine.channelAt(0), nullptr);
    engine.stopAllVoices();
    engine.pause();
    EXPECT_EQ(engine.shutdown(), 1);
    engine.setSampleVolume(-5);
    engine.setMusicVolume(200);
    EXPECT_EQ(std::tuple(engine.sampleVolume(), engine.musicVolume()), std::tuple(64u, 64u)) << "out of range: 64";
}

// FIX: stopping frees a voice even when it was paused.
TEST_F(EngineTest, HandlesCountMusicFirstAndABusyEngineDropsANewSoundRatherThanCutOne) {
    ASSERT_EQ(engine.start(11025, 1, 8, 0), 1);
    HeldSample s(loud(true), true);
    Module empty;
    EXPECT_EQ(engine.playModule(empty), kNoChannel) << "a module without data";
    for (std::uint32_t i = 1; i <= 8; ++i) ASSERT_EQ(engine.playSample(s.sample), i);
    EXPECT_TRUE(engine.channelAt(0)->isStopped());  // the music channel
    EXPECT_EQ(engine.playingMusicCount(), 0u);
    EXPECT_EQ(engine.channelAt(9), nullptr);
    EXPECT_EQ(engine.playSample(s.sample), kNoChannel);
    EXPECT_EQ(engine.playingVoiceCount(), 8u);
    engine.channelAt(3)->pause();
    engine.channelAt(3)->stop();
    EXPECT_EQ(engine.playSample(s.sample), 3u);

    engine.pauseAllVoices();
    EXPECT_EQ(engine.playingVoiceCount(), 0u);
    EXPECT_EQ(render(4), std::vector<std::uint8_t>(4, 128));
    engine.resumeAllVoices();
    EXPECT_EQ(engine.playingVoiceCount(), 8u);
    engine.pauseAllVoices();
    engine.stopAllVoices();
    EXPECT_EQ(engine.playSample(s.sample), 1u);
}

TEST_F(EngineTest, RenderedBytesAreTheClippedSumOfThePlayingVoices) {
    ASSERT_EQ(engine.start(11025, 0, 8, 0), 1);
    EXPECT_EQ(render(3), std::vector<std::uint8_t>(3, 128));  // silence is exactly 128
    HeldSample high(loud());
    engine.playSample(high.sample);
    EXPECT_EQ(render(1)[0], 128 + 63);  // 127 * 64 >> 7
    engine.playSample(high.sample);
    EXPECT_EQ(render(1)[0], 255);
    engine.playSample(high.sample);
    EXPECT_EQ(render(1)[0], 255);  // clipped

    engine.stopAllVoices();
    HeldSample low({.data = std::vector<std::uint8_t>(10, 0)});
    engine.playSample(low.sample);
    engine.playSample(low.sample);
    EXPECT_EQ(render(1)[0], 0);
}

TEST_F(EngineTest, MasterVolumeReappliesEachVoicesOwnAndStereoIsLeftFirst) {
    ASSERT_EQ(engine.start(22050, 0, 8, 1), 1);
    HeldSample s(loud());
    s.sample.setVolume(32);
    Channel* voice = engine.channelAt(engine.playSample(s.sample));
    EXPECT_EQ(voice->volume(), 32u);
    engine.setSampleVolume(16);
    EXPECT_EQ(voice->volume(), 8u);
    engine.setSampleVolume(100);
    EXPECT_EQ(voice->volume(), 32u);

    engine.stopAllVoices();
    s.sample.setVolume(64);
    s.sample.setPan(0);
    engine.playSample(s.sample);
    // Pan 0 doubles the weight on the left: 127 * 128 >> 7 = 127.
    EXPECT_EQ(render(2), (std::vector<std::uint8_t>{255, 128, 255, 128}));
}
