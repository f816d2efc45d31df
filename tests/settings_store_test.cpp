// The settings store's file: exact round trips, a readable text, files that
// cannot be used, where the file lives, and writes that survive being killed.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>

#include "platform/registry.h"
#include "platform/settings_format.h"
#include "platform/settings_store.h"
#include "support/headless_run.h"

using namespace platform;
using namespace testing_support;
using namespace std::string_literals;

namespace {

std::vector<std::uint8_t> Utf16Bytes(const std::u16string& text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<std::filesystem::path> SetAsideFiles(const ScratchDir& dir) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().filename().string().starts_with("settings.corrupt-")) found.push_back(entry.path());
    return found;
}

}  // namespace

TEST(SettingsStore, EveryValueComesBackFromTheFileExactly) {
    ScratchDir dir;
    SettingsTree written;
    SettingsKey& key = written["Software\\quelm\\orbitfend"];
    key["HiScore"] = {REG_DWORD, {0x39, 0x30, 0, 0x80}};
    key["ShortDword"] = {REG_DWORD, {0x40, 0}};
    key["Empty"] = {REG_BINARY, {}};
    key["Unknown"] = {99, {1, 2, 3}};
    SettingsKey& keypress = written["ControlPanel\\Sounds\\Keypress"];
    keypress["Script"] = {REG_SZ, Utf16Bytes(u"key\u00e9click\U0001F50A\0tail\0"s)};
    keypress["OddLength"] = {REG_SZ, {'a', 0, 'b'}};
    keypress["LoneSurrogate"] = {REG_SZ, Utf16Bytes(u"x\xD800y")};
    keypress["Long"] = {REG_SZ, Utf16Bytes(std::u16string(1000, u'z') + u'\0')};

    SettingsStore first(dir.file("settings"));
    first.keys() = written;
    ASSERT_TRUE(first.save());
    SettingsStore second(dir.file("settings"));
    EXPECT_EQ(second.keys(), written);

    // A person can read it: numbers as numbers, strings as text.
    const std::string text = ReadFile(dir.file("settings"));
    EXPECT_NE(text.find("\"dword\": 2147495993"), std::string::npos) << text;
    EXPECT_NE(text.find("\"text\": \"key\u00e9click\U0001F50A\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"text\": \"x\uFFFDy\""), std::string::npos) << text;
}

TEST(SettingsStore, AMissingFileIsAnEmptyStoreThatIsWrittenOnlyWhenSaved) {
    ScratchDir dir;
    const std::string file = dir.file("sub/settings");
    SettingsStore store(file);
    EXPECT_TRUE(store.keys().empty());
    EXPECT_FALSE(std::filesystem::exists(file));
    store.keys()["k"]["v"] = {REG_DWORD, {1, 0, 0, 0}};
    ASSERT_TRUE(store.save());
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST(SettingsStore, AFileThatCannotBeUnderstoodIsMovedAsideWhole) {
    const std::vector<std::string> unusable = {
        "{\"version\": 1, \"HKEY_CURRENT_USER\": {",    // cut short
        "{\"version\": 2, \"HKEY_CURRENT_USER\": {}}",  // a later format
        "[1, 2, 3]",                                    // not an object
        R"({"version": 1, "HKEY_CURRENT_USER": {"k": {"v": {"type": "REG_DWORD", "dword": -1}}}})",
        R"({"version": 1, "HKEY_CURRENT_USER": {"k": {"v": {"type": "REG_SZ", "utf16": [65536]}}}})",
        R"({"version": 1, "HKEY_CURRENT_USER": {"k": {"v": {"type": "REG_BINARY", "bytes": "abc"}}}})",
        R"({"version": 1, "HKEY_CURRENT_USER": {"k": {"v": {"type": "REG_DWORD"}}}})",
        R"({"version": 1, "HKEY_CURRENT_USER": {"k": {"v": {"type": "REG_PUZZLE", "bytes": ""}}}})",
    };
    for (const std::string& text : unusable) {
        SCOPED_TRACE(text);
        ScratchDir dir;
        dir.write("settings", text);
        testing::internal::CaptureStderr();
        SettingsStore store(dir.file("settings"));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(store.keys().empty());
        EXPECT_FALSE(std::filesystem::exists(dir.file("settings")));
        const auto aside = SetAsideFiles(dir);
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(ReadFile(aside[0].string()), text);
        EXPECT_NE(said.find(aside[0].string()), std::string::npos) << said;
    }
}

TEST(SettingsStore, TwoUnusableFilesInTheSameSecondAreBothKept) {
    ScratchDir dir;
    for (const char* text : {"first", "second"}) {
        dir.write("settings", text);
        testing::internal::CaptureStderr();
        SettingsStore store(dir.file("settings"));
        testing::internal::GetCapturedStderr();
    }
    std::set<std::string> kept;
    for (const auto& path : SetAsideFiles(dir)) kept.insert(ReadFile(path.string()));
    EXPECT_EQ(kept, (std::set<std::string>{"first", "second"}));
}

TEST(SettingsStore, TheFileLivesWhereTheRunAndTheEnvironmentSay) {
    Options desktop;
    Options headless;
    headless.headless = true;
    Options given = headless;
    given.settingsGiven = true;
    given.settingsDir = "/tmp/mine";
    EXPECT_EQ(SettingsFilePath(given, "/x", "/home/u"), "/tmp/mine/settings");
    EXPECT_EQ(SettingsFilePath(headless, "/x", "/home/u"), "");
    EXPECT_EQ(SettingsFilePath(desktop, "/x", "/home/u"), "/x/orbitfend/settings");
    EXPECT_EQ(SettingsFilePath(desktop, nullptr, "/home/u"), "/home/u/.config/orbitfend/settings");
    EXPECT_EQ(SettingsFilePath(desktop, "relative", "/home/u"), "/home/u/.config/orbitfend/settings");
    EXPECT_EQ(SettingsFilePath(desktop, "", nullptr), "");
}

// A writer killed at any moment leaves a file that is one whole save: the old
// one or the new one. The kill moments are seeded, so every run tries the same.
TEST(SettingsStore, AWriterKilledAtAnyMomentLeavesAWholeFile) {
    constexpr int kKills = 200;
    ScratchDir dir;
    const std::string file = dir.file("settings");
    {
        SettingsStore first(file);
        first.keys()["Software\\quelm\\orbitfend"]["HiScore"] = {REG_DWORD, {0, 0, 0, 0}};
        ASSERT_TRUE(first.save());
    }
    std::mt19937 random(1979);
    std::uniform_int_distribution<int> delayUs(0, 4000);
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves of changing size, so that a torn write could not pass for a whole one.
            SettingsStore store(file);
            for (std::uint8_t n = 0;; ++n) {
                SettingsKey& key = store.keys()["Software\\quelm\\orbitfend"];
                key["HiScore"] = {REG_DWORD, {n, 0, 0, 0}};
                key["Padding"] = {REG_BINARY, std::vector<std::uint8_t>(n * 37u % 4096u, n)};
                store.save();
            }
        }
        usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        SettingsTree keys;
        std::string error;
        ASSERT_TRUE(SettingsFromJson(ReadFile(file), keys, error)) << "after kill " << kill << ": " << error;
        ASSERT_EQ(keys["Software\\quelm\\orbitfend"]["HiScore"].bytes.size(), 4u) << "after kill " << kill;
    }
}
