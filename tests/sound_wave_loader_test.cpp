// Loading samples from WAVE files and images: the shapes that load, the ones
// that are refused, and images cut short or lying about their sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "platform/desktop.h"
#include "resources/resources.h"
#include "sound/resolve_path.h"
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

    int fromFile(Sample& sample, const std::string& bytes) {
        const std::string path = dir.file("s.wav");
        std::ofstream(path, std::ios::binary) << bytes;
        return sample.loadFile(path.c_str());
    }
    // Both loaders must agree; returns what they gave.
    int both(const std::string& bytes, std::size_t size, Sample& fromImage, Sample& fromFile) {
        const auto& image = images.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        const int a = fromImage.loadImage(image.empty() ? nullptr : image.data(), image.size());
        const int b = this->fromFile(fromFile, bytes.substr(0, size));
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
    WaveSpec plain, padded;
    plain.rate = 22050;
    padded.formatSize = 18;
    padded.chunksBeforeData = Chunk("LIST", std::string(26, 'x')) + Chunk("fact", "abcd");
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
    WaveSpec spec;
    spec.chunksBeforeData = Chunk("LIST", "four");
    const std::string bytes = WaveBytes(spec);
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
    WaveSpec sixteenBit, stereo, rateZero, rateTooHigh, skipping;
    sixteenBit.bits = 16;
    stereo.channels = 2;
    rateZero.rate = 0;
    rateTooHigh.rate = 70000;
    skipping.chunksBeforeData = Chunk("LIST", "four");
    std::string lyingSkip = WaveBytes(skipping);
    lyingSkip[lyingSkip.find("LIST") + 7] = '\x7F';  // a skip of two gigabytes
    std::string lyingFormat = WaveBytes(WaveSpec{});
    lyingFormat[19] = '\xFF';
    std::string shortFormat = WaveBytes(WaveSpec{});
    shortFormat[16] = 14;
    const std::string noData = WaveBytes(WaveSpec{}).substr(0, 36) + Chunk("LIST", "four");
    for (const std::string& bytes :
         {WaveBytes(sixteenBit), WaveBytes(stereo), WaveBytes(rateZero), WaveBytes(rateTooHigh),
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
    Sample owned;
    ASSERT_EQ(l.fromFile(owned, good), 1);
    EXPECT_EQ(l.fromFile(owned, good.substr(0, 30)), 0);
    EXPECT_EQ(owned.data(), nullptr);

    Sample inPlace;
    ASSERT_EQ(inPlace.loadImage(reinterpret_cast<const std::uint8_t*>(good.data()), good.size()), 1);
    const std::uint8_t* before = inPlace.data();
    EXPECT_EQ(inPlace.loadImage(reinterpret_cast<const std::uint8_t*>(good.data()), 30), 0);
    EXPECT_EQ(inPlace.data(), before);
    EXPECT_EQ(inPlace.length(), 4u);
}

TEST(SamplePath, RelativeNamesAreTakenFromTheProgramsFolderAbsoluteOnesAsGiven) {
    char out[kPathCapacity];
    std::string folder = platform::ExecutablePath();
    folder.erase(folder.rfind('/') + 1);
    ASSERT_EQ(resolvePath(out, "boom.wav"), folder.size() + 8);
    EXPECT_EQ(std::string(out), folder + "boom.wav");
    ASSERT_EQ(resolvePath(out, "/sounds/boom.wav"), 16u);
    EXPECT_STREQ(out, "/sounds/boom.wav");
    EXPECT_STREQ((resolvePath(out, "\\Sounds\\boom.wav"), out), "\\Sounds\\boom.wav");
}

TEST(SamplePath, APathThatDoesNotFitTheBufferIsRefused) {
    char out[kPathCapacity];
    const std::string fits = "/" + std::string(kPathCapacity - 2, 'a');
    EXPECT_EQ(resolvePath(out, fits.c_str()), kPathCapacity - 1);
    EXPECT_EQ(resolvePath(out, (fits + "a").c_str()), 0u);
    const std::size_t folder = std::string(platform::ExecutablePath()).rfind('/') + 1;
    const std::string name(kPathCapacity - 1 - folder, 'b');
    EXPECT_EQ(resolvePath(out, name.c_str()), kPathCapacity - 1);
    EXPECT_EQ(resolvePath(out, (name + "b").c_str()), 0u);
    Sample sample;
    EXPECT_EQ(sample.loadFile((fits + "a").c_str()), 0);
}
