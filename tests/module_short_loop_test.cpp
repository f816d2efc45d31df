// The block mixer reads short loops from a copy played over and over, and
// can write the accumulators instead of adding to them: neither may change
// a single sum.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/module_builder.h"
#include "support/module_replay.h"

using modtest::ModuleBuilder;

namespace {

// Six bytes that are not symmetric, so a read one byte off shows.
const std::vector<std::int8_t> kShortLoop = {90, -40, 17, -100, 55, 3};

// Sample 1 loops kShortLoop after a two-byte lead-in; sample 2 is the same
// lead-in and the same loop written out long (over 4096 bytes), which the
// mixer reads as it stands; sample 3 is a ramp without a loop.
std::vector<std::uint8_t> Song(const std::vector<std::string>& cells) {
    std::vector<std::int8_t> shortSample = {-7, 7}, longSample = {-7, 7};
    shortSample.insert(shortSample.end(), kShortLoop.begin(), kShortLoop.end());
    for (int i = 0; i < 700; ++i) longSample.insert(longSample.end(), kShortLoop.begin(), kShortLoop.end());
    std::map<int, std::string> rows;
    for (std::size_t r = 0; r < cells.size(); ++r) rows[static_cast<int>(r)] = cells[r];
    return ModuleBuilder()
        .sample(1, {.name = "short", .data = shortSample, .repeatStartWords = 1, .repeatLengthWords = 3})
        .sample(2, {.name = "long", .data = longSample, .repeatStartWords = 1, .repeatLengthWords = 2100})
        .sample(3, {.name = "ramp", .data = modtest::Ramp(300)})
        .pattern(0, rows)
        .build();
}

// The rows with sample `number` in place of the S in each.
std::vector<std::string> WithSample(std::vector<std::string> rows, char number) {
    for (std::string& cell : rows)
        if (const auto at = cell.find('S'); at != std::string::npos) cell[at] = number;
    return rows;
}

std::vector<modtest::Frame> Render(const std::vector<std::uint8_t>& image, std::uint32_t rate, ReplayProfile profile,
                                   bool stereo) {
    modtest::Replay replay(image, {.rate = rate, .profile = profile});
    return replay.render(20 * rate, stereo);
}

void ExpectSame(const std::vector<modtest::Frame>& a, const std::vector<modtest::Frame>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].left, b[i].left) << "frame " << i;
        ASSERT_EQ(a[i].right, b[i].right) << "frame " << i;
    }
}

}  // namespace

TEST(ModuleShortLoop, PlaysAsTheSameLoopWrittenOutLong) {
    // Low and high notes, a slide and a vibrato. Under the classic rules a
    // loop shorter than a frame's step plays otherwise (one wrap a frame),
    // so only the accurate rules also take B-5, whose step at 11025 Hz
    // crosses the six-byte loop almost twice a frame; at tempo 32 its ticks
    // run past the end of the repeated copy too.
    const std::vector<std::string> rows = {"C-1 0S F02", "--- 00 000", "B-3 0S 000", "--- 00 000", "C-2 0S 108",
                                           "--- 00 000", "A-2 0S 46F", "--- 00 000", "B-3 0S 208"};
    std::vector<std::string> higher = rows;
    higher.insert(higher.end(), {"28 0S F20", "--- 00 000", "--- 00 F7D", "D-1 0S 000"});
    const ReplayProfile classic{}, accurate{ReplayRules::accurate, Interpolation::linear};
    for (const std::uint32_t rate : {11025u, 44100u}) {
        SCOPED_TRACE(rate);
        ExpectSame(Render(Song(WithSample(rows, '1')), rate, classic, false),
                   Render(Song(WithSample(rows, '2')), rate, classic, false));
        ExpectSame(Render(Song(WithSample(higher, '1')), rate, accurate, true),
                   Render(Song(WithSample(higher, '2')), rate, accurate, true));
    }
}

TEST(ModuleShortLoop, OverwritingGivesTheSumsOfAddingToSilence) {
    // The accumulators start full of another sound: overwritten, none of it is left.
    // Nothing plays at first; later a ramp runs out while the loops go on.
    const auto image = Song({"--- 00 000", "C-2 01 000 | C-3 02 000 | E-2 03 000", "--- 00 000 | --- 00 C00",
                             "G-1 03 000 | --- 00 000 | --- 00 000 | A-3 01 000"});
    for (const ReplayProfile profile : {ReplayProfile{}, ReplayProfile{ReplayRules::accurate, Interpolation::linear},
                                        ReplayProfile{ReplayRules::accurate, Interpolation::none}}) {
        for (const bool stereo : {false, true}) {
            modtest::Replay adding(image, {.rate = 22050, .profile = profile});
            modtest::Replay writing(image, {.rate = 22050, .profile = profile});
            for (const std::uint32_t block : {1u, 999u, 3u, 4096u, 257u, 5000u, 2u, 4096u}) {
                std::vector<std::int32_t> addLeft(block, 0), addRight(block, 0);
                std::vector<std::int32_t> writeLeft(block, 12345), writeRight(block, -999);
                const std::uint32_t added = adding.channel.renderFrames(addLeft.data(), addRight.data(), block, stereo);
                const std::uint32_t written =
                    writing.channel.renderFrames(writeLeft.data(), writeRight.data(), block, stereo, true);
                ASSERT_EQ(added, written);
                for (std::uint32_t i = 0; i < added; ++i) {
                    ASSERT_EQ(writeLeft[i], addLeft[i]) << "frame " << i;
                    if (stereo) {
                        ASSERT_EQ(writeRight[i], addRight[i]) << "frame " << i;
                    }
                }
            }
        }
    }
}
