// WAVE files: the shapes that load as samples, the ones that are refused,
// images cut short or lying about their sizes, and what the writer writes.
// (The headless capture's sizes are pinned by the golden test, and lost
// writes by the headless limits' tests.)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "platform/desktop.h"
#include "sound/resolve_path.h"
#include "sound/wave_image.h"
#include "sound/wave_writer.h"
#include "sound_test_support.h"
#include "support/headless_run.h"

using namespace sound_test;
using testing_support::ScratchDir;

namespace {

struct Loaders {
    ScratchDir dir;
    // Images loaded in place, each in a heap block of exactly its size, so
    // that a read past the end is caught by the address sanitizer. They live
    // as long as the samples that point into them.
    std::vector<std::vector<std::uint8_t>> images;

    // Both loaders must agree; returns what they gave.
    int both(const std::string& bytes, std::size_t size, Sample& fromImage, Sample& fromFile) {
        const auto& image = images.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        const int a = fromImage.loadImage(image.empty() ? nullptr : image.data(), image.size());
        const int b = fromFile.loadFile(dir.write("s.wav", bytes.substr(0, size)).c_str());
        EXPECT_EQ(a, b) << "size " << size;
        return a;
    }
};

std::string withDataSize(std::string bytes, std::uint32_t claimed) {
    const std::size_t at = bytes.rfind("data") + 4;
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((claimed >> (8 * i)) & 0xFF);
    return bytes;
}

}  // namespace

TEST(WaveLoading, EightBitMonoLoadsFromFileAndInPlaceSkippingOtherChunks) {
    Loaders l;
    const WaveSpec plain{.rate = 22050};
    const WaveSpec padded{.formatSize = 18,
                          .chunksBeforeData = Chunk("LIST", std::string(26, 'x')) + Chunk("fact", "abcd")};
    for (const WaveSpec& spec : {plain, padded}) {
        const std::string bytes = WaveBytes(spec);
        Sample file, image;
        ASSERT_EQ(l.both(bytes, bytes.size(), image, file), 1);
        for (Sample* s : {&file, &image}) {
            EXPECT_EQ(s->rate(), spec.rate);
            ASSERT_EQ(s->length(), 4u);
            EXPECT_EQ(std::memcmp(s->data(), spec.data.data(), 4), 0);
        }
    }
}

TEST(WaveLoading, EveryTruncationFailsWithoutReadingPastTheEnd) {
    Loaders l;
    const std::string bytes = WaveBytes({.chunksBeforeData = Chunk("LIST", "four")});
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        Sample file, image;
        EXPECT_EQ(l.both(bytes, size, image, file), 0) << "cut at " << size;
    }
}

// FIX: a format chunk too short for its body, a data chunk that claims more
// than the file holds, a chunk size past the end and a rate no voice can play
// are refused.
TEST(WaveLoading, UnplayableShapesAndSizesThatPointPastTheEndAreRefused) {
    Loaders l;
    std::string lyingSkip = WaveBytes({.chunksBeforeData = Chunk("LIST", "four")});
    lyingSkip[lyingSkip.find("LIST") + 7] = '\x7F';  // a skip of two gigabytes
    std::string lyingFormat = WaveBytes(WaveSpec{});
    lyingFormat[19] = '\xFF';
    std::string shortFormat = WaveBytes(WaveSpec{});
    shortFormat[16] = 14;
    const std::string noData = WaveBytes(WaveSpec{}).substr(0, 36) + Chunk("LIST", "four");
    for (const std::string& bytes :
         {WaveBytes({.bits = 16}), WaveBytes({.channels = 2}), WaveBytes({.rate = 0}), WaveBytes({.rate = 70000}),
          withDataSize(WaveBytes(WaveSpec{}), 5), withDataSize(WaveBytes(WaveSpec{}), 0xFFFFFFFF), lyingSkip,
          lyingFormat, shortFormat, noData}) {
        Sample file, image;
        EXPECT_EQ(l.both(bytes, bytes.size(), image, file), 0);
        EXPECT_EQ(file.data(), nullptr);
    }
}

TEST(WaveLoading, AFailedLoadDropsOwnedDataButKeepsResourceData) {
    Loaders l;
    const std::string good = WaveBytes(WaveSpec{});
    Sample inPlace, owned;
    ASSERT_EQ(l.both(good, good.size(), inPlace, owned), 1);
    const std::uint8_t* before = inPlace.data();
    EXPECT_EQ(l.both(good, 30, inPlace, owned), 0);
    EXPECT_EQ(owned.data(), nullptr);
    EXPECT_EQ(inPlace.data(), before);
    EXPECT_EQ(inPlace.length(), 4u);
}

// FIX: a path, or a folder and a name, that does not fit the buffer is refused.
TEST(SamplePath, RelativeNamesAreTakenFromTheProgramsFolderAndAPathThatDoesNotFitIsRefused) {
    std::string folder = platform::ExecutablePath();
    folder.erase(folder.rfind('/') + 1);
    const std::string fits = "/" + std::string(kPathCapacity - 2, 'a'), name(kPathCapacity - 1 - folder.size(), 'b');
    const std::pair<std::string, std::string> cases[] = {{"boom.wav", folder + "boom.wav"},
                                                         {"/sounds/boom.wav", "/sounds/boom.wav"},
                                                         {"\\Sounds\\boom.wav", "\\Sounds\\boom.wav"},
                                                         {fits, fits},
                                                         {fits + "a", ""},
                                                         {name, folder + name},
                                                         {name + "b", ""}};
    for (const auto& [given, resolved] : cases) {
        char out[kPathCapacity];
        EXPECT_EQ(resolvePath(out, given.c_str()), resolved.size()) << given;
        if (!resolved.empty()) {
            EXPECT_EQ(std::string(out), resolved);
        }
    }
}

// Odd data is padded to an even chunk, and the sizes are rewritten when the
// data differs from the size declared up front.
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
