// The high score and the volume carried from one run to the next, and the
// user's key-press values given back, through the real program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/headless_run.h"

using namespace testing_support;
using nlohmann::json;

namespace {

constexpr int kEscape = 27, kF6 = 117;
constexpr const char* kProgramKey = "Software\\quelm\\orbitfend";
constexpr const char* kKeypressKey = "ControlPanel\\Sounds\\Keypress";

json Dword(std::uint32_t value) { return {{"type", "REG_DWORD"}, {"dword", value}}; }

// A REG_SZ of `characters` and its terminating zero.
json Text(const std::string& characters) {
    std::vector<unsigned> units(characters.begin(), characters.end());
    units.push_back(0);
    return {{"type", "REG_SZ"}, {"utf16", units}};
}

// The values of a stored key without the "text" that is written beside a
// string for the reader alone.
json WithoutText(json values) {
    for (auto& [name, value] : values.items()) value.erase("text");
    return values;
}

// A settings directory and runs of the program that use it.
struct SettingsRun {
    ScratchDir dir;

    void store(const json& keys) const {
        dir.write("settings", json{{"version", 1}, {"HKEY_CURRENT_USER", keys}}.dump());
    }
    json stored() const { return json::parse(ReadFile(dir.file("settings")))["HKEY_CURRENT_USER"]; }

    RunResult run(const std::string& keys, unsigned untilMs) const {
        return RunHeadless(dir, {"--settings", dir.path().string(), "--keys", dir.write("keys.txt", keys), "--until",
                                 std::to_string(untilMs)});
    }
};

}  // namespace

TEST(Settings, FirstRunStartsFromTheDefaultsAndLeavesTheProgramsKeyBehind) {
    SettingsRun r;
    RunResult result = r.run(KeyPress(100, kEscape), 1000);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_EQ(result.trace.front()["highScore"], 0);
    EXPECT_EQ(result.trace.front()["volume"], 16);
    EXPECT_EQ(result.trace.front()["volumeScale"], 80);
    EXPECT_EQ(r.stored()[kProgramKey], (json{{"HiScore", Dword(0)}, {"Sound", Dword(16)}}));
    EXPECT_EQ(result.stderrText.find("settings"), std::string::npos) << result.stderrText;
}

TEST(Settings, StoredHighScoreAndVolumeAreTakenUnchanged) {
    struct Case {
        std::uint32_t sound;
        int volumeScale;
    };
    for (const Case c : {Case{64, 320}, Case{100, 500}, Case{0, 0}}) {
        SettingsRun r;
        r.store({{kProgramKey, {{"HiScore", Dword(4321)}, {"Sound", Dword(c.sound)}}}});
        RunResult result = r.run("", 50);
        ASSERT_EQ(result.exitCode, 0) << result.stderrText;
        EXPECT_EQ(result.trace.front()["highScore"], 4321);
        EXPECT_EQ(result.trace.front()["volumeScale"], c.volumeScale) << "stored volume " << c.sound;
    }
}

TEST(Settings, AVolumeAboveTheScaleFallsToTheTopOnTheFirstPassWithVolumeUpHeld) {
    SettingsRun r;
    r.store({{kProgramKey, {{"Sound", Dword(100)}}}});
    RunResult result = r.run(KeyDown(50, kF6), 100);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    const json* moved = FirstWhere(result.trace, [](const json& l) { return l["volumeScale"] != 500; });
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ((*moved)["volumeScale"], 320);
    EXPECT_EQ((*moved)["volume"], 64);
    EXPECT_EQ(r.stored()[kProgramKey]["Sound"], Dword(64));
}

TEST(Settings, ValuesOfAnotherTypeOrSizeCountAsAbsent) {
    SettingsRun r;
    r.store({{kProgramKey, {{"HiScore", Text("9999")}, {"Sound", {{"type", "REG_DWORD"}, {"bytes", "4000"}}}}}});
    RunResult result = r.run("", 50);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_EQ(result.trace.front()["highScore"], 0);
    EXPECT_EQ(result.trace.front()["volumeScale"], 80);
}

// Each way out: the back key, a lost activation, both at once, and a close
// request (the end of --until).
struct WayOut {
    const char* name;
    const char* keys;
    unsigned untilMs;
};
void PrintTo(const WayOut& wayOut, std::ostream* os) { *os << wayOut.name; }

class EveryWayOut : public testing::TestWithParam<WayOut> {};

TEST_P(EveryWayOut, SavesTheVolumeAndGivesTheKeyPressValuesBack) {
    SettingsRun r;
    const json keypress = {{"BeepMode", Dword(5)}, {"Script", Text("keyclick.wav")}};
    r.store({{kProgramKey, {{"HiScore", Dword(777)}, {"Sound", Dword(16)}}}, {kKeypressKey, keypress}});
    RunResult result = r.run(KeyPress(10, kF6, 100) + GetParam().keys, GetParam().untilMs);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    ASSERT_LT(result.trace.back()["tick"], 1000) << "the run did not end by the way out under test";
    const int volume = result.trace.back()["volume"];
    EXPECT_GT(volume, 16);
    EXPECT_EQ(r.stored()[kProgramKey], (json{{"HiScore", Dword(777)}, {"Sound", Dword(volume)}}));
    EXPECT_EQ(WithoutText(r.stored()[kKeypressKey]), keypress);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, EveryWayOut,
    testing::Values(WayOut{"BackKey", "200 down 27\n", 100000}, WayOut{"LossOfActivation", "200 deactivate\n", 100000},
                    WayOut{"BackKeyAndLossOfActivationAtOnce", "200 down 27\n200 deactivate\n", 100000},
                    WayOut{"CloseRequest", "", 200}),
    [](const testing::TestParamInfo<WayOut>& info) { return std::string(info.param.name); });

TEST(Settings, KeyPressScriptsOfAnyLengthComeBackExactly) {
    const json scripts[] = {
        Text(std::string(14, 'a')),                         // the longest that fits 30 bytes
        Text("a forty character script name, exactly!!"),   // longer than 30 bytes
        {{"type", "REG_SZ"}, {"utf16", {104, 0, 105, 0}}},  // a zero inside
        {{"type", "REG_SZ"}, {"bytes", "610062"}},          // an odd number of bytes
    };
    for (const json& script : scripts) {
        SettingsRun r;
        r.store({{kKeypressKey, {{"Script", script}}}});
        ASSERT_EQ(r.run("", 50).exitCode, 0);
        EXPECT_EQ(WithoutText(r.stored()[kKeypressKey]), (json{{"Script", script}}));
    }
}

TEST(Settings, KeyPressValuesThatWereAbsentAreAbsentAgainAfterTheRun) {
    SettingsRun r;
    ASSERT_EQ(r.run(KeyPress(100, kEscape), 1000).exitCode, 0);
    EXPECT_EQ(r.stored()[kKeypressKey], json::object());
}

TEST(Settings, AnUnreadableFileIsMovedAsideAndTheRunStartsFromTheDefaults) {
    SettingsRun r;
    r.dir.write("settings", "{\"version\": 1, \"HKEY_CURRENT_USER\": {\"Software\\\\quelm");
    RunResult result = r.run("", 50);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_NE(result.stderrText.find("moved to"), std::string::npos) << result.stderrText;
    EXPECT_EQ(result.trace.front()["highScore"], 0);
    EXPECT_EQ(result.trace.front()["volumeScale"], 80);
    int setAside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(r.dir.path()))
        setAside += entry.path().filename().string().starts_with("settings.corrupt-");
    EXPECT_EQ(setAside, 1);
    EXPECT_EQ(r.stored()[kProgramKey], (json{{"HiScore", Dword(0)}, {"Sound", Dword(16)}}));
}

TEST(Settings, AHeadlessRunWithoutASettingsDirectoryWritesNoFile) {
    ScratchDir dir;
    const std::string home = dir.file("home");
    std::filesystem::create_directories(home);
    const char* savedHome = std::getenv("HOME");
    const std::string restoreHome = savedHome ? savedHome : "";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    RunResult result = RunHeadless(dir, {"--keys", dir.write("keys.txt", KeyPress(100, kEscape))}, false);
    unsetenv("XDG_CONFIG_HOME");
    if (savedHome) setenv("HOME", restoreHome.c_str(), 1);
    ASSERT_EQ(result.exitCode, 0) << result.stderrText;
    EXPECT_TRUE(std::filesystem::is_empty(home));
}
