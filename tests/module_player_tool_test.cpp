// orbitfend-modplay from the outside: exit codes, refusals, --info and
// --render, run as the built program.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/module_builder.h"

namespace fs = std::filesystem;

namespace {

struct PlayerRun {
    int exitCode;
    std::string err;
};

class ModulePlayerTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("orbitfend-modplay-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }

    PlayerRun run(const std::string& arguments) const {
        const std::string player = (fs::path(ORBITFEND_BINARY).parent_path() / "orbitfend-modplay").string();
        const std::string errFile = path("stderr.txt");
        const int status = std::system((player + " " + arguments + " 2>" + errFile).c_str());
        std::ifstream in(errFile);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(std::istreambuf_iterator<char>(in), {})};
    }

    static std::vector<std::uint8_t> read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    static std::vector<std::uint8_t> Song() {
        return modtest::ModuleBuilder()
            .title("tool song")
            .sample(1, {.name = "square",
                        .data = modtest::SquareWave(64, 16),
                        .finetune = 15,
                        .volume = 48,
                        .repeatStartWords = 0,
                        .repeatLengthWords = 32})
            .pattern(0, {{0, "C-2 01 047 | E-2 01 000"}, {16, "G-2 01 A04"}, {32, "--- 00 D00"}})
            .orders({0, 0})
            .build();
    }

    fs::path dir_;
};

}  // namespace

TEST_F(ModulePlayerTool, BadUsageExitsTwo) {
    EXPECT_EQ(run("").exitCode, 2);
    EXPECT_EQ(run("--rate 8000 " + write("song.mod", Song())).exitCode, 2);
    EXPECT_EQ(run("--volume 65 " + path("song.mod")).exitCode, 2);
    EXPECT_EQ(run("--help").exitCode, 0);
    const PlayerRun version = run("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.err.find("orbitfend-modplay"), std::string::npos);
}

TEST_F(ModulePlayerTool, UnplayableFilesExitOneNamingTheFileAndTheReason) {
    const PlayerRun missing = run(path("missing.mod") + " --info");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("missing.mod"), std::string::npos);

    auto other = Song();
    std::copy_n("OKTA", 4, other.begin() + 1080);
    const PlayerRun refused = run(write("other.mod", other) + " --info");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("other.mod"), std::string::npos);
    EXPECT_NE(refused.err.find("not a four-track 31-sample module"), std::string::npos);

    auto cut = Song();
    cut.resize(2000);
    const PlayerRun truncated = run(write("cut.mod", cut) + " --render " + path("cut.wav"));
    EXPECT_EQ(truncated.exitCode, 1);
    EXPECT_NE(truncated.err.find("truncated"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("cut.wav")));
}

TEST_F(ModulePlayerTool, InfoDescribesTheSongAndItsSamples) {
    const PlayerRun info = run("--info " + write("song.mod", Song()));
    ASSERT_EQ(info.exitCode, 0) << info.err;
    for (const char* expected :
         {"tool song", "2 orders", "patterns:    1", "square", "64", "0+64", "48", "-1", "duration:    0:11.6"})
        EXPECT_NE(info.err.find(expected), std::string::npos) << expected << " in\n" << info.err;
}

TEST_F(ModulePlayerTool, RenderWritesTheSameWaveEveryTimeToAFileOrStdout) {
    const std::string song = write("song.mod", Song());
    ASSERT_EQ(run("--render " + path("a.wav") + " --rate 11025 --stereo --separation 128 " + song).exitCode, 0);
    ASSERT_EQ(run("--render " + path("b.wav") + " --rate 11025 --stereo --separation 128 " + song).exitCode, 0);
    ASSERT_EQ(run("--render - --rate 11025 --stereo --separation 128 " + song + " >" + path("c.wav")).exitCode, 0);
    const auto a = read(path("a.wav"));
    EXPECT_EQ(a, read(path("b.wav")));
    EXPECT_EQ(a, read(path("c.wav")));

    // 8-bit stereo at 11025 Hz; 33 rows, a break into the last order, where
    // the song, not looping, ignores the break and plays all 64 rows; each row
    // 6 ticks of 221 frames and a reading frame.
    ASSERT_GT(a.size(), 44u);
    EXPECT_EQ(a[22], 2);
    EXPECT_EQ(a[24] | a[25] << 8, 11025);
    EXPECT_EQ(a[34], 8);
    EXPECT_EQ(a.size() - 44, 2u * (33 + 64) * (6 * 221 + 1));

    // Looping, the break at the last order leads back to the start: each
    // pass is 33 + 33 rows.
    ASSERT_EQ(run("--render " + path("twice.wav") + " --rate 11025 --loop 1 " + song).exitCode, 0);
    EXPECT_EQ(read(path("twice.wav")).size() - 44, 2u * (33 + 33) * (6 * 221 + 1));
}
