// The settings file: a text a person can edit and the program rewrites without
// losing their lines, files that cannot be used, links, folders that cannot
// be searched, and saves that are killed half-way.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>

#include "shell/settings_file.h"
#include "support/headless_run.h"

using namespace platform;
using namespace testing_support;

namespace {

std::vector<std::string> NamesIn(const ScratchDir& dir, const std::string& prefix) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().filename().string().starts_with(prefix)) found.push_back(entry.path().string());
    std::sort(found.begin(), found.end());
    return found;
}

// Loads the store at `file`, returning what it said on stderr.
std::string Load(SettingsFile& store) {
    testing::internal::CaptureStderr();
    store.load();
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST(SettingsText, KeepsEveryLineAPersonWroteAndChangesOnlyTheValues) {
    const std::string edited =
        "# my notes\r\n"
        "  volume=\t12  \r\n"
        "this line means nothing\n"
        "\n"
        "key.fire = Left Ctrl\n"
        "volume = 30\n";
    std::vector<std::size_t> ignored;
    SettingsText text = SettingsText::Parse(edited, &ignored);
    EXPECT_EQ(ignored, std::vector<std::size_t>{3});
    EXPECT_EQ(text.value("volume"), "30");  // the last line counts
    EXPECT_EQ(text.value("key.fire"), "Left Ctrl");
    EXPECT_EQ(text.value("high-score"), std::nullopt);

    text.set("volume", "40", "unused: the value has a line");
    text.set("high-score", " 99\n", "The best score.\nA whole number.");
    EXPECT_EQ(text.text(),
              "# my notes\n"
              "  volume=\t12  \n"
              "this line means nothing\n"
              "\n"
              "key.fire = Left Ctrl\n"
              "volume = 40\n"
              "\n"
              "# The best score.\n"
              "# A whole number.\n"
              "high-score = 99\n");
}

TEST(SettingsFile, AFileThatCannotBeUsedIsMovedAsideWholeAndSaidSo) {
    const struct {
        const char* what;
        std::string text;
        const char* said;
    } unusable[] = {
        {"binary", std::string("volume = 1\0\x01\x02", 13), "not text"},
        {"over 1 MB", std::string(2 << 20, '['), "larger than 1 MB"},
        {"an old file cut short", "{\"version\": 1, \"HKEY_CURRENT_USER\": {", "not valid JSON"},
        {"an old file of a later version", "{\"version\": 2}", "not 1"},
    };
    // One folder for all, so that files set aside in the same second need names of their own.
    ScratchDir dir;
    std::multiset<std::string> texts;
    for (const auto& c : unusable) {
        SCOPED_TRACE(c.what);
        dir.write("settings", c.text);
        texts.insert(c.text);
        SettingsFile store(dir.file("settings"));
        const std::string said = Load(store);
        EXPECT_EQ(store.value("volume"), std::nullopt);
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_NE(said.find("moved to " + dir.file("settings.corrupt-")), std::string::npos) << said;
        // The run's values are still saved, in a new file.
        store.setValue("volume", "5", "");
        EXPECT_TRUE(store.save());
        EXPECT_EQ(SettingsText::Parse(ReadFile(dir.file("settings"))).value("volume"), "5");
    }
    std::multiset<std::string> kept;
    for (const std::string& name : NamesIn(dir, "settings.corrupt-")) kept.insert(ReadFile(name));
    EXPECT_TRUE(kept == texts);  // not EXPECT_EQ: a failure would print megabytes
}

TEST(SettingsFile, TheFileLivesWhereTheRunAndTheEnvironmentSay) {
    Options desktop, headless, given;
    headless.headless = given.headless = given.settingsGiven = true;
    given.settingsDir = "/tmp/mine";
    EXPECT_EQ(SettingsFilePath(given, "/x", "/home/u"), "/tmp/mine/settings");
    EXPECT_EQ(SettingsFilePath(headless, "/x", "/home/u"), "");
    EXPECT_EQ(SettingsFilePath(desktop, "/x", "/home/u"), "/x/orbitfend/settings");
    EXPECT_EQ(SettingsFilePath(desktop, nullptr, "/home/u"), "/home/u/.config/orbitfend/settings");
    EXPECT_EQ(SettingsFilePath(desktop, "relative", "/home/u"), "/home/u/.config/orbitfend/settings");
    EXPECT_EQ(SettingsFilePath(desktop, "", nullptr), "");
}

// A settings file kept elsewhere through a link, as dotfile managers do.
TEST(SettingsFile, ALinkIsWrittenThroughToItsTargetInTheTargetsFolder) {
    for (const bool dangling : {false, true}) {
        SCOPED_TRACE(dangling ? "a link to a file not made yet" : "a link to a file");
        ScratchDir dir;
        std::filesystem::create_directories(dir.file("dotfiles"));
        if (!dangling) dir.write("dotfiles/orbitfend", "volume = 7\n");
        std::filesystem::create_symlink("dotfiles/orbitfend", dir.file("settings"));
        SettingsFile store(dir.file("settings"));
        EXPECT_EQ(Load(store), "");
        EXPECT_EQ(store.value("volume"), dangling ? std::nullopt : std::optional<std::string>("7"));
        store.setValue("volume", "8", "");
        ASSERT_TRUE(store.save());
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file("settings")));
        EXPECT_EQ(SettingsText::Parse(ReadFile(dir.file("dotfiles/orbitfend"))).value("volume"), "8");
    }
}

// A folder the user may not search answers "permission denied" to every
// question about the names in it; the start must go on all the same.
TEST(SettingsFile, AFolderThatCannotBeSearchedIsLeftAloneWithoutAHang) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.file("locked"));
    dir.write("locked/settings", "volume = 3\n");
    std::filesystem::permissions(dir.file("locked"), std::filesystem::perms::none);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        alarm(20);  // a hang ends the child by a signal, which fails the test
        std::freopen("/dev/null", "w", stderr);
        if (geteuid() == 0 && (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0)) _exit(3);
        SettingsFile store(dir.file("locked/settings"));
        store.load();
        store.setValue("volume", "9", "");
        _exit(store.value("volume") == "9" && !store.save() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::filesystem::permissions(dir.file("locked"), std::filesystem::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(dir.file("locked/settings")), "volume = 3\n");
}

// A writer killed at any moment leaves a file that is one whole save: the old
// one or the new one; what its temporary files leave behind is swept at the
// next start, except the file of a writer still at work. The kill moments are
// seeded, so every run tries the same.
TEST(SettingsFile, AWriterKilledAtAnyMomentLeavesAWholeFileAndNoLitter) {
    constexpr int kKills = 200;
    ScratchDir dir;
    const std::string file = dir.file("settings");
    std::mt19937 random(1979);
    std::uniform_int_distribution<int> delayUs(0, 4000);
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves of changing size, so that a torn write could not pass for a whole one.
            SettingsFile store(file);
            store.load();
            for (unsigned n = 0;; ++n) {
                store.setValue("high-score", std::to_string(n), "");
                store.setValue("padding", std::string(n * 37u % 4096u, 'x'), "");
                store.setValue("end", "here", "");
                store.save();
            }
        }
        usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!std::filesystem::exists(file)) continue;  // killed before the first save
        ASSERT_EQ(SettingsText::Parse(ReadFile(file)).value("end"), "here") << "after kill " << kill;
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string live = dir.write(".settings.Live01", "");
    const int liveWriter = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(liveWriter, LOCK_EX), 0);
    dir.write(".settings.Dead01", "");
    dir.write(".settings.notours", "");

    SettingsFile store(file);
    Load(store);
    EXPECT_EQ(NamesIn(dir, ".settings."), (std::vector<std::string>{live, dir.file(".settings.notours")}));
    ::close(liveWriter);
}
