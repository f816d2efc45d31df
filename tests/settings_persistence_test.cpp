// The high score and the volume carried from one run to the next through the
// real program: the file a player sees, every way out, the file that
// orbitfend 1.0 wrote, and stored values that make no sense.
#include <gtest/gtest.h>

#include "shell/settings_text.h"
#include "support/headless_run.h"

using namespace testing_support;
using nlohmann::json;

namespace {

constexpr int kF6 = 117;

// A settings directory and runs of the program that use it.
struct SettingsRun {
    ScratchDir dir;

    std::optional<std::string> stored(const char* name) const {
        return SettingsText::Parse(ReadFile(dir.file("settings"))).value(name);
    }
    RunResult run(const std::string& keys, unsigned untilMs) const {
        return RunKeys(dir, keys, untilMs, {"--settings", dir.path().string()});
    }
};

// The file orbitfend 1.0 wrote after a game of 4570 points at volume 23,
// with the values in `program` put in place of its own.
std::string OldFile(const json& program = nullptr) {
    json file = json::parse(ReadFile(std::string(kSourceDir) + "/tests/data/settings-1.0.json"));
    if (!program.is_null()) file["HKEY_CURRENT_USER"]["Software\\quelm\\orbitfend"] = program;
    return file.dump(2);
}

json Dword(std::uint32_t value) { return {{"type", "REG_DWORD"}, {"dword", value}}; }

}  // namespace

// A close request comes at the end of --until.
TEST(Settings, EveryWayOutSavesTheVolumeAndKeepsThePlayersOwnLines) {
    const struct {
        const char* name;
        const char* keys;
        unsigned untilMs;
    } waysOut[] = {{"the back key", "200 down 27\n", 100000},
                   {"a lost activation", "200 deactivate\n", 100000},
                   {"the back key and a lost activation at once", "200 down 27\n200 deactivate\n", 100000},
                   {"a close request", "", 200}};
    for (const auto& wayOut : waysOut) {
        SCOPED_TRACE(wayOut.name);
        SettingsRun r;
        r.dir.write("settings", "# mine\nhigh-score = 777\nvolume = 16\nkey.fire = Space\n");
        RunResult result = r.run(KeyPress(10, kF6, 100) + wayOut.keys, wayOut.untilMs);
        ASSERT_EQ(result.exitCode, 0) << result.stderrText;
        ASSERT_LT(result.trace.back()["tick"], 1000) << "the run did not end by the way out under test";
        const int volume = result.trace.back()["volume"];
        EXPECT_GT(volume, 16);
        EXPECT_EQ(ReadFile(r.dir.file("settings")),
                  "# mine\nhigh-score = 777\nvolume = " + std::to_string(volume) + "\nkey.fire = Space\n");
    }
}

// No file yet, and values that a person or an old file could leave: those
// that make no sense fall back and say so, and the run goes on (under UBSan
// too, so no overflow hides in the volume). The old file is read once and
// rewritten as text; a new file says what its values mean.
TEST(Settings, StoredValuesAreTakenOrFallBackAndSaySo) {
    const struct {
        std::string file;
        int highScore, volume;
        const char* said;  // null: nothing
    } cases[] = {
        {"", 0, 16, nullptr},  // the first run
        {"high-score = 1234\nvolume = 64\n", 1234, 64, nullptr},
        {OldFile(), 4570, 23, nullptr},
        {"high-score = lots\nvolume = 0\n", 0, 0, "high-score = lots is not a whole number"},
        {"high-score = 2147483648\n", 0, 16, "high-score = 2147483648 is out of range"},
        {"high-score = 99999999999999999999\n", 0, 16, "is out of range"},
        {"volume = 100\n", 0, 64, "volume = 100 is out of 0..64; 64"},
        {"volume = -3\n", 0, 0, "volume = -3 is out of 0..64; 0"},
        {"volume = 429496730\n", 0, 64, "out of 0..64"},
        {"volume = 12.5\n", 0, 16, "not a whole number; 16"},
        {OldFile({{"HiScore", Dword(2147483648u)}, {"Sound", Dword(4294967293u)}}), 0, 0,
         "-2147483648 is out of range"},
        {OldFile({{"HiScore", {{"type", "REG_SZ"}, {"utf16", {57, 0}}}}}), 0, 16, "not a whole number; 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        SettingsRun r;
        if (!c.file.empty()) r.dir.write("settings", c.file);
        RunResult result = r.run("", 50);
        ASSERT_EQ(result.exitCode, 0) << result.stderrText;
        EXPECT_EQ(result.trace.front()["highScore"], c.highScore);
        EXPECT_EQ(result.trace.front()["volume"], c.volume);
        EXPECT_EQ(result.trace.front()["volumeScale"], c.volume * 5);
        if (c.said == nullptr)
            EXPECT_EQ(result.stderrText, "");
        else
            EXPECT_NE(result.stderrText.find(c.said), std::string::npos) << result.stderrText;
        EXPECT_EQ(r.stored("volume"), std::to_string(c.volume));
        EXPECT_EQ(r.stored("high-score"), std::to_string(c.highScore));
        const std::string text = ReadFile(r.dir.file("settings"));
        EXPECT_EQ(text.find("HKEY"), std::string::npos);
        if (c.file.empty() || c.file[0] == '{') {
            EXPECT_NE(text.find("\n# The volume of the sound effects"), std::string::npos) << text;
        }
    }
}
