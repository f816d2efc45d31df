// The program's sound as the headless device captures it: the same run
// gives the same bytes, and without a device nothing is started.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/headless_run.h"

using namespace testing_support;

namespace {

constexpr int kReturn = 13, kFire = 120;

std::string firingKeys() {
    std::string keys = KeyPress(100, kReturn);
    for (unsigned ms = 2500; ms < 4000; ms += 400) keys += KeyPress(ms, kFire);
    return keys;
}

}  // namespace

TEST(SoundCapture, TheSameRunGivesAByteIdenticalWaveFile) {
    ScratchDir dir;
    const std::string keys = dir.write("keys.txt", firingKeys());
    std::string captures[2];
    for (int run = 0; run < 2; ++run) {
        const std::string wav = dir.file("run" + std::to_string(run) + ".wav");
        RunResult result = RunHeadless(dir, {"--keys", keys, "--until", "4500", "--wav", wav}, false);
        ASSERT_EQ(result.exitCode, 0) << result.stderrText;
        captures[run] = ReadFile(wav);
    }
    ASSERT_GT(captures[0].size(), 44u);
    EXPECT_TRUE(captures[0] == captures[1]);

    // A RIFF WAVE of 8-bit mono at 11025 Hz whose sizes match the file.
    const std::string& wav = captures[0];
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(
            static_cast<unsigned char>(wav[at]) | static_cast<unsigned char>(wav[at + 1]) << 8 |
            static_cast<unsigned char>(wav[at + 2]) << 16 | static_cast<unsigned char>(wav[at + 3]) << 24);
    };
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(4), wav.size() - 8);
    EXPECT_EQ(u32(24), 11025u);
    EXPECT_EQ(u32(40), wav.size() - 44);
    // About the run's length less the engine's start-up, and not all silence.
    EXPECT_NEAR(static_cast<double>(wav.size() - 44) / 11025.0, 4.4, 0.2);
    EXPECT_TRUE(std::any_of(wav.begin() + 44, wav.end(), [](char c) { return static_cast<unsigned char>(c) != 128; }));
}

TEST(SoundCapture, WithoutASoundDeviceTheEngineStaysUnstarted) {
    ScratchDir dir;
    const std::string wav = dir.file("none.wav");
    RunResult result = RunHeadless(
        dir, {"--keys", dir.write("keys.txt", firingKeys()), "--until", "3000", "--wav", wav, "--no-sound"}, false);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_FALSE(std::filesystem::exists(wav));
}
