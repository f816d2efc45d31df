// The block render must give exactly the sums of rendering frame by frame,
// over whole songs: the example songs and the fuzzing seeds, with their odd
// speeds, tempos, jumps and truncations. Neither the copy it plays short
// loops from nor writing the accumulators instead of adding to them may
// change a single sum.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "module_builder.h"
#include "support/headless_run.h"
#include "support/module_replay.h"

using modwrite::Frame;
using modwrite::ModuleBuilder;
using Frames = std::vector<Frame>;

namespace {

// Whether two renders agree, naming the first frame that differs.
testing::AssertionResult Same(const Frames& a, const Frames& b) {
    const auto [x, y] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (x == a.end() && y == b.end()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << a.size() << " and " << b.size() << " frames, differing first at frame "
                                       << (x - a.begin());
}

// Accumulators start non-zero, so that a renderer which stores instead of
// adding, or writes the right side in mono, shows up.
constexpr std::int32_t kPrefill = -3;

struct Setting {
    std::uint32_t rate;
    bool stereo;
    bool loop;
    std::uint32_t passes;  // render until the song has come round this often, or ends
};

struct Render {
    Frames frames;
    bool stopped = false;
    std::uint32_t passes = 0;
};

// Renders frame by frame or in blocks of uneven sizes, which put the block
// edges at every kind of place in a tick, until the song ends, comes round
// `setting.passes` times or has played four minutes.
Render Play(const std::vector<std::uint8_t>& image, const Setting& setting, bool inBlocks) {
    static constexpr std::uint32_t kBlockSizes[] = {1, 257, 3, 4096, 882, 64, 1000};
    modwrite::Replay replay(image, {.rate = setting.rate, .loop = setting.loop});
    MusicChannel& channel = replay.channel;
    Render out;
    std::vector<std::int32_t> left, right;
    for (std::size_t b = 0; out.frames.size() < 4ull * 60 * setting.rate; ++b) {
        if (!inBlocks) {
            Frame frame{kPrefill, kPrefill};
            channel.renderFrame(frame.left, frame.right, setting.stereo);
            if (!channel.isStopped()) out.frames.push_back(frame);
        } else {
            const std::uint32_t block = kBlockSizes[b % std::size(kBlockSizes)];
            left.assign(block, kPrefill);
            right.assign(block, kPrefill);
            const std::uint32_t rendered = channel.renderFrames(left.data(), right.data(), block, setting.stereo);
            EXPECT_LE(rendered, block);
            // Frames past the rendered ones are left alone.
            for (std::uint32_t i = rendered; i < block; ++i) EXPECT_EQ(left[i], kPrefill) << "frame " << i;
            for (std::uint32_t i = 0; i < rendered; ++i) out.frames.push_back({left[i], right[i]});
        }
        if (channel.isStopped() || channel.completedPasses() >= setting.passes) break;
    }
    out.stopped = channel.isStopped();
    out.passes = channel.completedPasses();
    return out;
}

}  // namespace

TEST(ModuleBlockRender, MatchesFrameByFrameToTheEndOfEachSongAndOfEachLoopingPass) {
    std::vector<std::filesystem::path> songs;
    for (const auto* folder : {"tools/modplay/examples", "fuzz/corpus/module"})
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(ORBITFEND_SOURCE_DIR) / folder))
            if (entry.path().extension() == ".mod") songs.push_back(entry.path());
    ASSERT_GE(songs.size(), 10u);
    for (const Setting& setting : {Setting{11025, false, false, 1}, {44100, true, false, 1}, {22050, true, true, 3}}) {
        for (const auto& song : songs) {
            const std::string text = testing_support::ReadFile(song.string());
            const std::vector<std::uint8_t> image(text.begin(), text.end());
            const Render frames = Play(image, setting, false), blocks = Play(image, setting, true);
            const std::string name = song.filename().string();
            EXPECT_EQ(blocks.stopped, frames.stopped) << name;
            EXPECT_EQ(blocks.passes, frames.passes) << name;
            EXPECT_TRUE(Same(blocks.frames, frames.frames)) << name << " at " << setting.rate;
        }
    }
}

namespace {

// Six bytes that are not symmetric, so a read one byte off shows.
const std::vector<std::int8_t> kShortLoop = {90, -40, 17, -100, 55, 3};

// Sample 1 loops kShortLoop after a two-byte lead-in; sample 2 is the same
// lead-in and the same loop written out long (over 4096 bytes), which the
// mixer reads as it stands; sample 3 is a ramp without a loop. An S in a
// row stands for `sample`.
std::vector<std::uint8_t> LoopSong(std::vector<std::string> cells, char sample = 'S') {
    std::vector<std::int8_t> shortSample = {-7, 7}, longSample = {-7, 7};
    shortSample.insert(shortSample.end(), kShortLoop.begin(), kShortLoop.end());
    for (int i = 0; i < 700; ++i) longSample.insert(longSample.end(), kShortLoop.begin(), kShortLoop.end());
    std::map<int, std::string> rows;
    for (std::size_t r = 0; r < cells.size(); ++r) {
        if (const auto at = cells[r].find('S'); at != std::string::npos) cells[r][at] = sample;
        rows[static_cast<int>(r)] = cells[r];
    }
    return ModuleBuilder()
        .sample(1, {.name = "short", .data = shortSample, .repeatStartWords = 1, .repeatLengthWords = 3})
        .sample(2, {.name = "long", .data = longSample, .repeatStartWords = 1, .repeatLengthWords = 2100})
        .sample(3, {.name = "ramp", .data = modwrite::Ramp(300)})
        .pattern(0, rows)
        .build();
}

Frames Render20s(const std::vector<std::uint8_t>& image, std::uint32_t rate, ReplayProfile profile, bool stereo) {
    return modwrite::Replay(image, {.rate = rate, .profile = profile}).render(20 * rate, stereo);
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
        EXPECT_TRUE(Same(Render20s(LoopSong(rows, '1'), rate, classic, false),
                         Render20s(LoopSong(rows, '2'), rate, classic, false)))
            << rate;
        EXPECT_TRUE(Same(Render20s(LoopSong(higher, '1'), rate, accurate, true),
                         Render20s(LoopSong(higher, '2'), rate, accurate, true)))
            << rate;
    }
}

TEST(ModuleShortLoop, OverwritingGivesTheSumsOfAddingToSilence) {
    // The accumulators start full of another sound: overwritten, none of it is left.
    // Nothing plays at first; later a ramp runs out while the loops go on.
    const auto image = LoopSong({"--- 00 000", "C-2 01 000 | C-3 02 000 | E-2 03 000", "--- 00 000 | --- 00 C00",
                                 "G-1 03 000 | --- 00 000 | --- 00 000 | A-3 01 000"});
    for (const ReplayProfile profile : {ReplayProfile{}, ReplayProfile{ReplayRules::accurate, Interpolation::linear},
                                        ReplayProfile{ReplayRules::accurate, Interpolation::none}}) {
        for (const bool stereo : {false, true}) {
            modwrite::Replay adding(image, {.rate = 22050, .profile = profile});
            modwrite::Replay writing(image, {.rate = 22050, .profile = profile});
            Frames added, written;
            for (const std::uint32_t block : {1u, 999u, 3u, 4096u, 257u, 5000u, 2u, 4096u}) {
                const Frames a = adding.render(block, stereo);  // into silence
                added.insert(added.end(), a.begin(), a.end());
                std::vector<std::int32_t> writeLeft(block, 12345), writeRight(block, stereo ? -999 : 0);
                const auto w = writing.channel.renderFrames(writeLeft.data(), writeRight.data(), block, stereo, true);
                for (std::uint32_t i = 0; i < w; ++i) written.push_back({writeLeft[i], writeRight[i]});
            }
            EXPECT_TRUE(Same(written, added)) << stereo;
        }
    }
}
