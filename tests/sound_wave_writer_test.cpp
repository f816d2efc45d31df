// The WAVE writer: what it writes reads back through the sample loader's
// parser, and its sizes stay right when the data does not match the size
// declared up front.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "sound/wave_image.h"
#include "sound/wave_writer.h"

namespace {

std::vector<std::uint8_t> Contents(std::FILE* file) {
    std::fflush(file);
    std::vector<std::uint8_t> bytes;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<std::uint8_t>(c));
    return bytes;
}

TEST(WaveWriter, WritesAFileTheSampleParserReadsBack) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const std::vector<std::uint8_t> data = {1, 2, 3, 4, 5};
    wave::Writer writer(file, {22050, 1, 8}, data.size());
    ASSERT_TRUE(writer.write(data.data(), data.size()));
    ASSERT_TRUE(writer.finish());
    const auto bytes = Contents(file);
    std::fclose(file);

    wave::Image image;
    ASSERT_TRUE(wave::ParseImage(bytes.data(), bytes.size(), &image));
    EXPECT_EQ(image.rate, 22050u);
    EXPECT_EQ(image.length, 5u);
    EXPECT_EQ(image.dataOffset, wave::kHeaderBytes);
    // Odd data is padded to an even chunk, and the RIFF size counts the pad.
    EXPECT_EQ(bytes.size(), wave::kHeaderBytes + 6);
    EXPECT_EQ(wave::ReadU32(bytes.data() + 4), bytes.size() - 8);
}

TEST(WaveWriter, RewritesTheSizesWhenTheDataDiffersFromTheDeclaredSize) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    wave::Writer writer(file, {44100, 2, 16}, 0, wave::Padding::none);
    const std::uint8_t frames[12] = {};
    writer.write(frames, sizeof frames);
    writer.write(frames, 3);
    ASSERT_TRUE(writer.finish());
    const auto bytes = Contents(file);
    std::fclose(file);

    ASSERT_EQ(bytes.size(), wave::kHeaderBytes + 15);  // no pad asked for
    EXPECT_EQ(wave::ReadU32(bytes.data() + 4), 36u + 15);
    EXPECT_EQ(wave::ReadU32(bytes.data() + 40), 15u);
    EXPECT_EQ(wave::ReadU32(bytes.data() + 28), 44100u * 4);  // bytes per second
    EXPECT_EQ(wave::ReadU16(bytes.data() + 32), 4u);          // bytes per frame
    EXPECT_EQ(wave::ReadU16(bytes.data() + 34), 16u);
}

TEST(WaveWriter, ReportsAFailedWrite) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    if (full == nullptr) GTEST_SKIP() << "no /dev/full";
    std::setvbuf(full, nullptr, _IONBF, 0);
    wave::Writer writer(full, {11025, 1, 8}, 4);
    const std::uint8_t data[4] = {};
    writer.write(data, sizeof data);
    EXPECT_FALSE(writer.finish());
    std::fclose(full);
}

}  // namespace
