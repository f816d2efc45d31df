// Rendering a block of frames at once must give exactly the sums of
// rendering them one by one, over whole songs: the example songs and the
// fuzzing seeds, with their odd speeds, tempos, jumps and truncations.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/module_replay.h"

namespace {

struct Render {
    std::vector<std::int32_t> left, right;
    bool stopped = false;
    std::uint32_t passes = 0;
};

// Accumulators start non-zero, so that a renderer which stores instead of
// adding, or writes the right side in mono, shows up.
constexpr std::int32_t kPrefill = -3;

struct Setting {
    std::uint32_t rate;
    bool stereo;
    bool loop;
    std::uint32_t passes;  // render until the song has come round this often, or ends
};

std::uint64_t FrameLimit(const Setting& setting) { return 4ull * 60 * setting.rate; }

Render FrameByFrame(const std::vector<std::uint8_t>& image, const Setting& setting) {
    modtest::Replay replay(image, {.rate = setting.rate, .loop = setting.loop});
    Render out;
    while (out.left.size() < FrameLimit(setting)) {
        std::int32_t left = kPrefill, right = kPrefill;
        replay.channel.renderFrame(left, right, setting.stereo);
        if (replay.channel.isStopped()) break;
        out.left.push_back(left);
        out.right.push_back(right);
        if (replay.channel.completedPasses() >= setting.passes) break;
    }
    out.stopped = replay.channel.isStopped();
    out.passes = replay.channel.completedPasses();
    return out;
}

Render InBlocks(const std::vector<std::uint8_t>& image, const Setting& setting) {
    modtest::Replay replay(image, {.rate = setting.rate, .loop = setting.loop});
    // Uneven block sizes put the block edges at every kind of place in a tick.
    static constexpr std::uint32_t kBlockSizes[] = {1, 257, 3, 4096, 882, 64, 1000};
    Render out;
    std::vector<std::int32_t> left, right;
    for (std::size_t b = 0; out.left.size() < FrameLimit(setting); ++b) {
        const std::uint32_t block = kBlockSizes[b % std::size(kBlockSizes)];
        left.assign(block, kPrefill);
        right.assign(block, kPrefill);
        const std::uint32_t rendered = replay.channel.renderFrames(left.data(), right.data(), block, setting.stereo);
        EXPECT_LE(rendered, block);
        // Frames past the rendered ones are left alone.
        for (std::uint32_t i = rendered; i < block; ++i) EXPECT_EQ(left[i], kPrefill) << "frame " << i;
        out.left.insert(out.left.end(), left.begin(), left.begin() + rendered);
        out.right.insert(out.right.end(), right.begin(), right.begin() + rendered);
        if (replay.channel.isStopped()) break;
        if (replay.channel.completedPasses() >= setting.passes) break;
    }
    out.stopped = replay.channel.isStopped();
    out.passes = replay.channel.completedPasses();
    return out;
}

std::vector<std::filesystem::path> Songs() {
    const std::filesystem::path source(ORBITFEND_SOURCE_DIR);
    std::vector<std::filesystem::path> songs;
    for (const auto* folder : {"tools/modplay/examples", "fuzz/corpus/module"})
        for (const auto& entry : std::filesystem::directory_iterator(source / folder))
            if (entry.path().extension() == ".mod") songs.push_back(entry.path());
    return songs;
}

std::vector<std::uint8_t> ReadImage(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void ExpectBlocksMatchFrames(const Setting& setting) {
    const auto songs = Songs();
    ASSERT_GE(songs.size(), 10u);
    for (const auto& song : songs) {
        const auto image = ReadImage(song);
        const Render frames = FrameByFrame(image, setting);
        const Render blocks = InBlocks(image, setting);
        const std::string name = song.filename().string();
        EXPECT_EQ(blocks.stopped, frames.stopped) << name;
        EXPECT_EQ(blocks.passes, frames.passes) << name;
        ASSERT_EQ(blocks.left.size(), frames.left.size()) << name;
        // One comparison of the whole song: a mismatch reports the first frame that differs.
        EXPECT_TRUE(blocks.left == frames.left)
            << name << " left differs first at frame "
            << std::distance(frames.left.begin(),
                             std::mismatch(frames.left.begin(), frames.left.end(), blocks.left.begin()).first);
        EXPECT_TRUE(blocks.right == frames.right)
            << name << " right differs first at frame "
            << std::distance(frames.right.begin(),
                             std::mismatch(frames.right.begin(), frames.right.end(), blocks.right.begin()).first);
    }
}

}  // namespace

TEST(ModuleBlockRender, MatchesFrameByFrameToTheEndOfEachSongAndOfEachLoopingPass) {
    ExpectBlocksMatchFrames({.rate = 11025, .stereo = false, .loop = false, .passes = 1});
    ExpectBlocksMatchFrames({.rate = 44100, .stereo = true, .loop = false, .passes = 1});
    ExpectBlocksMatchFrames({.rate = 22050, .stereo = true, .loop = true, .passes = 3});
}
