// One desktop copy per user, and what a copy started while it runs does. The
// last test runs the real program with no display.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/sdl/single_instance.h"
#include "support/headless_run.h"

using platform::sdl::SingleInstance;
using testing_support::RunCommand;
using testing_support::ScratchDir;

namespace {

constexpr const char* kName = "orbitfend.MainWindow";

// A socket file such as a crashed copy leaves behind: bound, then abandoned.
void leaveStaleSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(fd);
}

}  // namespace

TEST(SingleInstance, ACopyStartedWhileOneRunsAsksItToComeForward) {
    ScratchDir dir;
    SingleInstance running;
    ASSERT_EQ(running.claim(dir.path().string(), kName), SingleInstance::Claim::First);
    EXPECT_EQ(running.takeActivationRequests(), 0);

    SingleInstance second;
    EXPECT_EQ(second.claim(dir.path().string(), kName), SingleInstance::Claim::AnotherRuns);
    SingleInstance third;
    EXPECT_EQ(third.claim(dir.path().string(), kName), SingleInstance::Claim::AnotherRuns);
    EXPECT_EQ(running.takeActivationRequests(), 2);
    EXPECT_EQ(running.takeActivationRequests(), 0);
}

TEST(SingleInstance, ACopyThatEndedOrCrashedDoesNotBlockTheNext) {
    ScratchDir dir;
    leaveStaleSocket(dir.file(std::string(kName) + ".socket"));
    {
        SingleInstance afterCrash;
        ASSERT_EQ(afterCrash.claim(dir.path().string(), kName), SingleInstance::Claim::First);
        SingleInstance later;
        EXPECT_EQ(later.claim(dir.path().string(), kName), SingleInstance::Claim::AnotherRuns);
        EXPECT_EQ(afterCrash.takeActivationRequests(), 1);
    }
    SingleInstance afterExit;
    EXPECT_EQ(afterExit.claim(dir.path().string(), kName), SingleInstance::Claim::First);
}

TEST(SingleInstance, NoUsableDirectoryMeansNoCheckRatherThanNoGame) {
    SingleInstance copy;
    EXPECT_EQ(copy.claim("", kName), SingleInstance::Claim::Unavailable);
    EXPECT_EQ(copy.claim("/nonexistent/orbitfend", kName), SingleInstance::Claim::Unavailable);
}

TEST(SdlProgram, WithoutADisplayItSaysSoAndExitsWithOne) {
    ScratchDir dir;
    // SDL would otherwise fall back to drawing nowhere and the game would run unseen.
    auto result = RunCommand({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER",
                              "XDG_RUNTIME_DIR=" + dir.path().string(), testing_support::kBinary, "--settings",
                              dir.path().string(), "--no-sound"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.stderrText.find("cannot open a window"), std::string::npos) << result.stderrText;
}

TEST(SdlProgram, TheNoDisplayMessageNamesTheDisplayTried) {
    ScratchDir dir;
    auto result = RunCommand({"/usr/bin/env", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER", "DISPLAY=:77",
                              "XDG_RUNTIME_DIR=" + dir.path().string(), testing_support::kBinary, "--settings",
                              dir.path().string(), "--no-sound"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.stderrText.find("DISPLAY=:77"), std::string::npos) << result.stderrText;
}
