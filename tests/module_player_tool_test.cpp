// orbitfend-modplay from the outside: exit codes, refusals, --render,
// and live play on SDL's dummy audio driver (which pulls as a sound card
// would but plays nowhere), run as the built program.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "module_builder.h"
#include "support/headless_run.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;

namespace {

const std::string kPlayer = (fs::path(ORBITFEND_BINARY).parent_path() / "orbitfend-modplay").string();

struct PlayerRun {
    int exitCode;
    std::string err, out;
};

class ModulePlayerTool : public ::testing::Test {
protected:
    // Runs the player; its stdout goes where `arguments` sends it, else to out.txt.
    PlayerRun run(const std::string& arguments) const {
        const std::string redirect = arguments.find('>') == std::string::npos ? " >" + path("out.txt") : "";
        const int status = std::system((kPlayer + " " + arguments + redirect + " 2>" + path("err.txt")).c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(path("err.txt")), ReadFile(path("out.txt"))};
    }
    std::string path(const std::string& name) const { return dir_.file(name); }
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        return dir_.write(name, std::string(bytes.begin(), bytes.end()));
    }

    // 33 rows, a break into the last order, 33 more, and a break there that
    // ends the song under the accurate rules: 66 rows of 0.12 s. The classic
    // rules ignore that break and play all 64 rows of the last order.
    static std::vector<std::uint8_t> Song(const std::string& firstCell = "C-2 01 047 | E-2 01 000") {
        return modwrite::ModuleBuilder()
            .title("tool song")
            .sample(1, {.name = "square",
                        .data = modwrite::SquareWave(64, 16),
                        .finetune = 15,
                        .volume = 48,
                        .repeatStartWords = 0,
                        .repeatLengthWords = 32})
            .pattern(0, {{0, firstCell}, {16, "G-2 01 A04"}, {32, "--- 00 D00"}})
            .orders({0, 0})
            .build();
    }

    testing_support::ScratchDir dir_;
};

}  // namespace

TEST_F(ModulePlayerTool, BadUsageExitsTwoAndUnplayableFilesOneNamingTheFileAndTheReason) {
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
    EXPECT_NE(run("--version").out.find("orbitfend-modplay"), std::string::npos);

    auto other = Song();
    std::copy_n("OKTA", 4, other.begin() + 1080);
    auto cut = Song();
    cut.resize(2000);
    // A render past the 4 GiB a WAVE file holds is refused before anything is
    // written: each pass is 66 rows of 6 ticks of 1920 frames, 3 MB at 96 kHz stereo 16-bit.
    const struct {
        std::string arguments;
        int exitCode;
        const char* said;
    } refusals[] = {{"--rate 96000 --stereo --loop 2000 " + song, 2, "4 GiB"},
                    {path("missing.mod"), 1, "missing.mod"},
                    {write("other.mod", other), 1, "other.mod: not a four-track 31-sample module"},
                    {write("cut.mod", cut), 1, "truncated"}};
    for (const auto& r : refusals) {
        const PlayerRun refused = run(r.arguments + " --render " + path("out.wav"));
        EXPECT_EQ(refused.exitCode, r.exitCode) << r.arguments;
        EXPECT_EQ(refused.err.rfind("orbitfend-modplay: ", 0), 0u) << refused.err;
        EXPECT_NE(refused.err.find(r.said), std::string::npos) << refused.err;
    }
    EXPECT_FALSE(fs::exists(path("out.wav")));
}

TEST_F(ModulePlayerTool, RenderWritesTheSameWaveEveryTimeToAFileOrStdout) {
    const std::string song = write("song.mod", Song());
    const std::string classic = " --profile classic --rate 11025 ";
    ASSERT_EQ(run("--render " + path("a.wav") + classic + "--bits 8 --stereo " + song).exitCode, 0);
    ASSERT_EQ(run("--render -" + classic + "--bits 8 --stereo " + song + " >" + path("c.wav")).exitCode, 0);
    const std::string a = ReadFile(path("a.wav"));
    EXPECT_EQ(a, ReadFile(path("c.wav")));
    // 8-bit stereo at 11025 Hz; 33 + 64 rows of 6 ticks of 221 frames and a reading frame.
    ASSERT_GT(a.size(), 44u);
    EXPECT_EQ(a[22], 2);
    EXPECT_EQ(a[34], 8);
    EXPECT_EQ(a.size() - 44, 2u * (33 + 64) * (6 * 221 + 1));

    // Looping, the break at the last order leads back to the start: each pass
    // is 33 + 33 rows. The classic 16-bit output is the 8-bit one in the high byte.
    ASSERT_EQ(run("--render " + path("narrow.wav") + classic + "--bits 8 --loop 1 " + song).exitCode, 0);
    ASSERT_EQ(run("--render " + path("wide.wav") + classic + "--bits 16 --loop 1 " + song).exitCode, 0);
    const std::string narrow = ReadFile(path("narrow.wav")), wide = ReadFile(path("wide.wav"));
    ASSERT_EQ(narrow.size() - 44, 2u * (33 + 33) * (6 * 221 + 1));
    ASSERT_EQ(wide.size() - 44, 2 * (narrow.size() - 44));
    for (std::size_t i = 44; i < narrow.size(); ++i) {
        ASSERT_EQ(wide[44 + 2 * (i - 44)], 0);
        ASSERT_EQ(static_cast<std::uint8_t>(wide[45 + 2 * (i - 44)]), static_cast<std::uint8_t>(narrow[i] - 128));
    }

    // The accurate rules: 16 bits by default, 66 rows of 6 ticks of 960 frames at 48 kHz.
    ASSERT_EQ(run("--render " + path("accurate.wav") + " --rate 48000 --stereo " + song).exitCode, 0);
    const std::string accurate = ReadFile(path("accurate.wav"));
    EXPECT_EQ(accurate[34], 16);
    EXPECT_EQ(accurate.size() - 44, 4u * 66 * 6 * 960);
}

TEST_F(ModulePlayerTool, LivePlayEndsCleanlyAtTheSongsEndOrOnSigintOrSigtermAndNeedsADevice) {
    // Speed 1: the song lasts 1.3 s.
    const std::string song = write("short.mod", Song("C-2 01 F01"));
    const std::string dummy = "SDL_AUDIODRIVER=dummy ";
    // To its end within a minute, with no progress line into a file.
    EXPECT_EQ(std::system(("timeout 60 env " + dummy + kPlayer + " " + song + " 2>" + path("err.txt")).c_str()), 0);
    EXPECT_EQ(ReadFile(path("err.txt")), "");
    for (const char* signal : {"INT", "TERM"}) {
        const std::string command = "timeout --preserve-status -s " + std::string(signal) + " 0.3 env " + dummy +
                                    kPlayer + " --loop 1000 " + song;
        EXPECT_EQ(std::system(command.c_str()), 0) << signal;
    }
    const int status =
        std::system(("env SDL_AUDIODRIVER=no-such-driver " + kPlayer + " " + song + " 2>" + path("err.txt")).c_str());
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(ReadFile(path("err.txt")), "orbitfend-modplay: " + song + ": no audio device to play on\n");
}
