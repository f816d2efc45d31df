// The WAVE writer beside the sample parser: what it writes reads back, odd
// data is padded to an even chunk, and sizes are rewritten when the data
// differs from the size declared up front. (The headless capture's sizes are
// pinned by the golden test, and lost writes by the headless limits' tests.)
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "sound/wave_image.h"
#include "sound/wave_writer.h"

TEST(WaveWriter, WritesAFileTheSampleParserReadsBackPaddedToAnEvenChunk) {
    for (const std::uint64_t declared : {5u, 0u}) {
        std::FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        const std::vector<std::uint8_t> data = {1, 2, 3, 4, 5};
        wave::Writer writer(file, {22050, 1, 8}, declared);
        ASSERT_TRUE(writer.write(data.data(), 2));
        ASSERT_TRUE(writer.write(data.data() + 2, 3));
        ASSERT_TRUE(writer.finish());
        std::vector<std::uint8_t> bytes(64);
        std::rewind(file);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);

        wave::Image image;
        ASSERT_TRUE(wave::ParseImage(bytes.data(), bytes.size(), &image)) << "declared " << declared;
        EXPECT_EQ(image.rate, 22050u);
        EXPECT_EQ(image.length, 5u);
        EXPECT_EQ(image.dataOffset, wave::kHeaderBytes);
        EXPECT_EQ(bytes.size(), wave::kHeaderBytes + 6);
        EXPECT_EQ(wave::ReadU32(bytes.data() + 4), bytes.size() - 8) << "the RIFF size counts the pad";
    }
}
