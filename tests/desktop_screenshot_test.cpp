// The desktop's screenshots: where the files go and what they hold.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <tuple>

#include <stb/stb_image.h>

#include "platform/frame.h"
#include "shell/screenshot.h"
#include "support/headless_run.h"

using namespace platform;
using testing_support::EnvironmentScope;
using testing_support::ScratchDir;

namespace {

// A PNG file read back as RGB triples.
struct Png {
    explicit Png(const std::string& path)
        : rgb(stbi_load(path.c_str(), &width, &height, &channels, 3), stbi_image_free) {}
    const stbi_uc* at(int x, int y) const { return rgb.get() + (static_cast<std::size_t>(y) * width + x) * 3; }
    int width = 0, height = 0, channels = 0;  // declared before rgb, whose making fills them
    std::unique_ptr<stbi_uc, void (*)(void*)> rgb;
};

}  // namespace

TEST(Screenshot, GoesToThePicturesFolderTheDesktopNames) {
    ScratchDir dir;
    const std::string home = dir.path().string();
    EnvironmentScope homeScope("HOME", home.c_str());
    EnvironmentScope config("XDG_CONFIG_HOME", nullptr);
    {
        EnvironmentScope pictures("XDG_PICTURES_DIR", "/somewhere/Bilder");
        EXPECT_EQ(ScreenshotDirectory(), "/somewhere/Bilder/orbitfend");
    }
    EnvironmentScope pictures("XDG_PICTURES_DIR", nullptr);
    EXPECT_EQ(ScreenshotDirectory(), home + "/Pictures/orbitfend");
    std::filesystem::create_directories(dir.path() / ".config");
    dir.write(".config/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(ScreenshotDirectory(), home + "/Bilder/orbitfend");
}

TEST(Screenshot, WritesTheFrameAtItsOwnSizeAndEnlargedWithoutOverwriting) {
    ScratchDir dir;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 31 / 7);
    const std::string folder = (dir.path() / "Pictures" / "orbitfend").string();
    const std::string stem = ScreenshotStem(std::time(nullptr));
    EXPECT_EQ(stem.rfind("orbitfend-20", 0), 0u) << stem;

    std::string error;
    const std::vector<std::string> first = WriteScreenshots(folder, stem, rgb, 3, error);
    ASSERT_EQ(first.size(), 2u) << error;
    EXPECT_EQ(first[0], folder + "/" + stem + ".png");
    EXPECT_EQ(first[1], folder + "/" + stem + "-x3.png");
    const Png small(first[0]), large(first[1]);
    ASSERT_EQ(std::tuple(small.width, small.height, large.width, large.height),
              std::tuple(kScreenWidth, kScreenHeight, kScreenWidth * 3, kScreenHeight * 3));
    for (int y : {0, 101, 219})
        for (int x : {0, 57, 175}) {
            EXPECT_EQ(std::memcmp(small.at(x, y), &rgb[(static_cast<std::size_t>(y) * kScreenWidth + x) * 3], 3), 0);
            EXPECT_EQ(std::memcmp(large.at(x * 3 + 2, y * 3 + 1), small.at(x, y), 3), 0);
        }

    // A second picture in the same second keeps the first.
    const std::vector<std::string> second = WriteScreenshots(folder, stem, rgb, 1, error);
    ASSERT_EQ(second.size(), 1u) << "scale 1 writes one file";
    EXPECT_EQ(second[0], folder + "/" + stem + "-2.png");

    const std::vector<std::string> refused = WriteScreenshots("/proc/orbitfend", stem, rgb, 2, error);
    EXPECT_TRUE(refused.empty());
    EXPECT_NE(error.find("/proc/orbitfend"), std::string::npos) << error;
}
