// How the four tracks reach the accumulators: stereo placement by the
// module's separation, volume weighting, sample loops and their ends.
#include <gtest/gtest.h>

#include "module_builder.h"
#include "support/module_replay.h"

using modwrite::ModuleBuilder;
using modwrite::Replay;

namespace {

using modwrite::Steady;

std::vector<std::uint8_t> FourTracks(modwrite::SampleSpec sample) {
    return ModuleBuilder()
        .sample(1, sample)
        .pattern(0, {{0, "C-2 01 000 | C-2 01 000 | C-2 01 000 | C-2 01 000"}})
        .build();
}

}  // namespace

TEST(ModuleMixing, SeparationPlacesTracksLeftRightRightLeft) {
    struct Case {
        int separation;
        std::uint32_t outer, inner;
    };
    for (const Case c : {Case{255, 64, 192}, Case{128, 95, 161}, Case{0, 127, 129}}) {
        Replay replay(FourTracks(Steady()), {.separation = c.separation});
        std::vector<std::uint32_t> pans;
        for (std::uint32_t track = 0; track < 4; ++track) pans.push_back(replay.channel.track(track).trackPan);
        EXPECT_EQ(pans, (std::vector<std::uint32_t>{c.outer, c.inner, c.inner, c.outer})) << c.separation;
    }
}

TEST(ModuleMixing, StereoSplitsEachTracksWeightByItsPan) {
    Replay replay(ModuleBuilder().sample(1, Steady()).pattern(0, {{0, "C-2 01 000"}}).build());
    const modwrite::Frame frame = replay.frame(true);
    EXPECT_EQ(frame.left, 48 * 100);  // pan 64: a quarter of 64 to the right
    EXPECT_EQ(frame.right, 16 * 100);
    Replay all(FourTracks(Steady()));
    const modwrite::Frame four = all.frame(true);
    EXPECT_EQ(four.left + four.right, 4 * 64 * 100);
    EXPECT_EQ(four.left, four.right);
}

TEST(ModuleMixing, MonoWeighsEachTrackByItsVolumeUnderTheChannelsVolume) {
    Replay replay(FourTracks(Steady(64, 0, -50)), {.volume = 32});
    EXPECT_EQ(replay.frame().left, 4 * 32 * -50);
    replay.channel.setVolume(64);
    EXPECT_EQ(replay.frame().left, 4 * 64 * -50);
    replay.master = 16;
    replay.channel.setVolume(64);
    EXPECT_EQ(replay.frame().left, 4 * 16 * -50);
}

TEST(ModuleMixing, ALoopWrapsToItsRepeatStartAndAOneWordRepeatPlaysOnceThenSilence) {
    // Bytes 1..8 played a little over a byte a frame: 4..7 looped, or not looped at all.
    const struct {
        std::uint16_t start, length;
        std::vector<std::int32_t> heard;
    } cases[] = {{2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 5, 6, 7, 8}}, {0, 1, {1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0}}};
    for (const auto& c : cases) {
        const modwrite::SampleSpec ramp{.name = "ramp",
                                        .data = {1, 2, 3, 4, 5, 6, 7, 8},
                                        .repeatStartWords = c.start,
                                        .repeatLengthWords = c.length};
        Replay replay(ModuleBuilder().sample(1, ramp).pattern(0, {{0, "320 01 000"}}).build(), {.rate = 11025});
        std::vector<std::int32_t> heard;
        for (int i = 0; i < 12; ++i) heard.push_back(replay.frame().left / 64);
        EXPECT_EQ(heard, c.heard) << c.length;
        EXPECT_FALSE(replay.channel.isStopped()) << "an ended sample leaves the song playing";
    }
}

TEST(ModuleMixing, TrackWithoutASampleOrWithAnEmptyOneAddsNothing) {
    Replay replay(ModuleBuilder()
                      .sample(1, Steady())
                      .sample(2, {.name = "empty", .data = {}})
                      .pattern(0, {{0, "C-2 00 000 | C-2 02 000 | C-2 1F 000"}})
                      .build());
    EXPECT_EQ(replay.frame().left, 0);
}
