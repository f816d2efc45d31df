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
    std::string out;
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

    // Runs the player; its stdout goes where `arguments` sends it, else to out.txt.
    PlayerRun run(const std::string& arguments) const {
        const std::string player = (fs::path(ORBITFEND_BINARY).parent_path() / "orbitfend-modplay").string();
        const std::string errFile = path("stderr.txt"), outFile = path("out.txt");
        const std::string redirect = arguments.find('>') == std::string::npos ? " >" + outFile : "";
        const int status = std::system((player + " " + arguments + redirect + " 2>" + errFile).c_str());
        std::ifstream err(errFile), out(outFile);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(std::istreambuf_iterator<char>(err), {}),
                std::string(std::istreambuf_iterator<char>(out), {})};
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

TEST_F(ModulePlayerTool, BadUsageExitsTwoWithTheProgramsName) {
    const std::string song = write("song.mod", Song());
    for (const std::string& arguments :
         {std::string(""), "--rate 7999 " + song, "--rate 96001 " + song, "--volume 65 " + song,
          "--profile classic --rate 8000 " + song, "--profile modern " + song, "--bits 24 " + song,
          "--interpolation cubic " + song}) {
        const PlayerRun refused = run(arguments);
        EXPECT_EQ(refused.exitCode, 2) << arguments;
        EXPECT_EQ(refused.err.rfind("orbitfend-modplay: ", 0), 0u) << refused.err;
    }
    EXPECT_EQ(run("--help").exitCode, 0);
    const PlayerRun version = run("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find("orbitfend-modplay"), std::string::npos);
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

TEST_F(ModulePlayerTool, InfoDescribesTheSongAndItsSamplesOnStdout) {
    const PlayerRun info = run("--info " + write("song.mod", Song()));
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(info.err, "");
    // 33 rows, a break into the last order, 33 more, and its break there ends
    // the song: 66 rows of 0.12 s.
    for (const char* expected : {"tool song", "2 orders", "patterns:    1", "square", "64", "0+64", "48", "-1",
                                 "duration:    0:07.9 (accurate profile)"})
        EXPECT_NE(info.out.find(expected), std::string::npos) << expected << " in\n" << info.out;
    // The classic rules ignore that break and play all 64 rows of the last order.
    const PlayerRun classic = run("--info --profile classic " + path("song.mod"));
    EXPECT_NE(classic.out.find("duration:    0:11.6 (classic profile)"), std::string::npos) << classic.out;
}

TEST_F(ModulePlayerTool, RenderWritesTheSameWaveEveryTimeToAFileOrStdout) {
    const std::string song = write("song.mod", Song());
    const std::string classic = " --profile classic --bits 8 --rate 11025 --stereo --separation 128 ";
    ASSERT_EQ(run("--render " + path("a.wav") + classic + song).exitCode, 0);
    ASSERT_EQ(run("--render " + path("b.wav") + classic + song).exitCode, 0);
    ASSERT_EQ(run("--render -" + classic + song + " >" + path("c.wav")).exitCode, 0);
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
    ASSERT_EQ(
        run("--render " + path("twice.wav") + " --profile classic --bits 8 --rate 11025 --loop 1 " + song).exitCode, 0);
    EXPECT_EQ(read(path("twice.wav")).size() - 44, 2u * (33 + 33) * (6 * 221 + 1));

    // The classic profile's 16-bit output is its 8-bit output in the high byte.
    ASSERT_EQ(
        run("--render " + path("wide.wav") + " --profile classic --bits 16 --rate 11025 --loop 1 " + song).exitCode, 0);
    const auto narrow = read(path("twice.wav")), wide = read(path("wide.wav"));
    ASSERT_EQ(wide.size() - 44, 2 * (narrow.size() - 44));
    EXPECT_EQ(wide[34], 16);
    for (std::size_t i = 44; i < narrow.size(); ++i) {
        ASSERT_EQ(wide[44 + 2 * (i - 44)], 0);
        ASSERT_EQ(wide[45 + 2 * (i - 44)], static_cast<std::uint8_t>(narrow[i] - 128));
    }
}

TEST_F(ModulePlayerTool, AccurateRenderIsSixteenBitByDefaultAndAsLongAsTheSongsTicks) {
    const std::string song = write("song.mod", Song());
    ASSERT_EQ(run("--render " + path("a.wav") + " --rate 48000 --stereo " + song).exitCode, 0);
    const auto wav = read(path("a.wav"));
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav[34], 16);
    EXPECT_EQ(wav[24] | wav[25] << 8 | wav[26] << 16, 48000);
    // 66 rows of 6 ticks of 960 frames, 4 bytes a frame.
    EXPECT_EQ(wav.size() - 44, 4u * 66 * 6 * 960);
}

TEST_F(ModulePlayerTool, RefusesARenderPastFourGibibytesBeforeWritingAnything) {
    const std::string song = write("song.mod", Song());
    // Each pass is 66 rows of 6 ticks of 1920 frames, 3 MB at 96 kHz stereo 16-bit.
    const PlayerRun refused = run("--render " + path("long.wav") + " --rate 96000 --stereo --loop 2000 " + song);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("orbitfend-modplay: "), std::string::npos);
    EXPECT_NE(refused.err.find("4 GiB"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(path("long.wav")));
}
