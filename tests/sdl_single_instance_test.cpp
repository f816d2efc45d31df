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

TEST(SingleInstance, ACopyStartedWhileOneRunsAsksItToComeForwardAndOneThatEndedOrCrashedBlocksNothing) {
    ScratchDir dir;
    leaveStaleSocket(dir.file(std::string(kName) + ".socket"));
    {
        SingleInstance running;
        ASSERT_EQ(running.claim(dir.path().string(), kName), SingleInstance::Claim::First) << "after a crash";
        EXPECT_EQ(running.takeActivationRequests(), 0);
        SingleInstance second, third;
        EXPECT_EQ(second.claim(dir.path().string(), kName), SingleInstance::Claim::AnotherRuns);
        EXPECT_EQ(third.claim(dir.path().string(), kName), SingleInstance::Claim::AnotherRuns);
        EXPECT_EQ(running.takeActivationRequests(), 2);
        EXPECT_EQ(running.takeActivationRequests(), 0);
    }
    SingleInstance afterExit;
    EXPECT_EQ(afterExit.claim(dir.path().string(), kName), SingleInstance::Claim::First);
    // No usable directory means no check rather than no game.
    SingleInstance nowhere;
    EXPECT_EQ(nowhere.claim("", kName), SingleInstance::Claim::Unavailable);
    EXPECT_EQ(nowhere.claim("/nonexistent/orbitfend", kName), SingleInstance::Claim::Unavailable);
}

// SDL would otherwise fall back to drawing nowhere and the game would run unseen.
TEST(SdlProgram, WithoutADisplayItSaysSoNamingTheDisplayTriedAndExitsWithOne) {
    ScratchDir dir;
    const struct {
        std::vector<std::string> display;
        const char* said;
    } cases[] = {{{"-u", "DISPLAY"}, "cannot open a window"}, {{"DISPLAY=:77"}, "DISPLAY=:77"}};
    for (const auto& c : cases) {
        std::vector<std::string> command{"/usr/bin/env", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER"};
        command.insert(command.end(), c.display.begin(), c.display.end());
        command.insert(command.end(), {"XDG_RUNTIME_DIR=" + dir.path().string(), testing_support::kBinary, "--settings",
                                       dir.path().string(), "--no-sound"});
        const auto result = RunCommand(command);
        EXPECT_EQ(result.exitCode, 1) << c.said;
        EXPECT_NE(result.stderrText.find(c.said), std::string::npos) << result.stderrText;
    }
}
