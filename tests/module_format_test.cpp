// Reading a module's header into the per-sample tables, loading modules, and
// keeping every read inside the image whatever the file holds.
#include <gtest/gtest.h>

#include "module_builder.h"
#include "sound/module.h"
#include "sound/module_format.h"
#include "support/headless_run.h"
#include "support/module_replay.h"

using modwrite::ModuleBuilder;

namespace {

SongHeader Read(const std::vector<std::uint8_t>& image) {
    SongHeader header;
    ReadSongHeader(image.data(), image.size(), header);
    return header;
}

modwrite::SampleSpec Bytes(std::size_t count, std::uint16_t repeatStart = 0, std::uint16_t repeatLength = 0) {
    return {.name = "s",
            .data = modwrite::Ramp(count),
            .volume = 40,
            .repeatStartWords = repeatStart,
            .repeatLengthWords = repeatLength};
}

std::ptrdiff_t DataOffset(const std::vector<std::uint8_t>& image, const SongHeader& header, int sample) {
    return reinterpret_cast<const std::uint8_t*>(header.samples[static_cast<std::size_t>(sample)].data) - image.data();
}

}  // namespace

TEST(ModuleHeader, PatternCountComesFromThePlayedOrdersOnly) {
    const auto three = ModuleBuilder().sample(1, Bytes(8)).orders({0, 1, 2}).build();
    EXPECT_EQ(Read(three).patternCount, 3u);
    EXPECT_EQ(DataOffset(three, Read(three), 1), 4156);

    auto beyond = ModuleBuilder().sample(1, Bytes(8)).orders({0, 1, 5}).songLengthByte(2).build();
    EXPECT_EQ(Read(beyond).patternCount, 2u);
    EXPECT_EQ(DataOffset(beyond, Read(beyond), 1), 3132);
}

TEST(ModuleHeader, LoopsRestartsLengthsAndFinetunesAreReadIntoRange) {
    // A repeat of one word does not loop; two words loop over four bytes.
    const SongHeader loops = Read(ModuleBuilder().sample(1, Bytes(16, 2, 1)).sample(2, Bytes(16, 2, 2)).build());
    EXPECT_EQ(loops.samples[1].repeatLength, 0u);
    EXPECT_EQ(loops.samples[2].repeatStart, 4u << 8);
    EXPECT_EQ(loops.samples[2].repeatLength, 4u << 8);
    // The restart position counts only below the song's length.
    EXPECT_EQ(Read(ModuleBuilder().orders({0, 0, 0}).restart(127).build()).restart, 0u);
    EXPECT_EQ(Read(ModuleBuilder().orders({0, 0, 0}).restart(3).build()).restart, 0u);
    EXPECT_EQ(Read(ModuleBuilder().orders({0, 0, 0}).restart(2).build()).restart, 2u);
    const SongHeader odd =
        Read(ModuleBuilder().sample(1, {.name = "f", .data = {1, 2}, .finetune = 0x21}).songLengthByte(200).build());
    EXPECT_EQ(odd.songLength, 128u);
    EXPECT_EQ(odd.samples[1].finetune, 1u);  // the high nibble is not finetune
}

TEST(ModuleHeader, SampleDataIsCutAtTheImagesEnd) {
    auto image = ModuleBuilder().sample(1, Bytes(100, 10, 40)).sample(2, Bytes(50)).build();
    image.resize(image.size() - 50 - 30);  // sample 2 gone, sample 1 keeps 70 bytes
    const SongHeader header = Read(image);
    EXPECT_EQ(header.samples[1].length, 70u << 8);
    EXPECT_EQ(header.samples[1].repeatStart + header.samples[1].repeatLength, 70u << 8);
    EXPECT_EQ(header.samples[2].data, nullptr);
    EXPECT_EQ(header.samples[2].length, 0u);
}

TEST(ModuleHeader, TruncatedImagesPlaySilentlyToTheirEnd) {
    const auto whole = ModuleBuilder()
                           .sample(1, Bytes(64, 0, 32))
                           .orders({0, 1})
                           .pattern(0, {{0, "C-2 01 000 | C-2 01 000"}})
                           .pattern(1, {{0, "C-2 01 000"}})
                           .build();
    for (const std::size_t size : std::vector<std::size_t>{0, 100, 1083, 1084, 2000, whole.size() - 1}) {
        SCOPED_TRACE(size);
        modwrite::Replay replay(
            std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
        replay.render(1'000'000);
        EXPECT_TRUE(replay.channel.isStopped());
    }
}

TEST(ModuleLoading, FileIsReadWholeAndFailuresLeaveNoImage) {
    const auto image = ModuleBuilder().sample(1, Bytes(32)).build();
    testing_support::ScratchDir dir;
    const std::string path = dir.write("song.mod", std::string(image.begin(), image.end()));
    Module module;
    ASSERT_EQ(module.loadFile(path.c_str()), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(module.data(), module.data() + module.size()), image);
    EXPECT_EQ(module.loadFile(dir.write("empty.mod", "").c_str()), 0);
    EXPECT_EQ(module.data(), nullptr);
    EXPECT_EQ(module.loadFile(dir.file("missing.mod").c_str()), 0);
    EXPECT_EQ(module.loadResource(nullptr, 4242), 0);
}
