// The main loop as a host that cannot block drives it: StartInstance, then
// RunPass whenever one is due, then EndProgram. The host runs in a child
// process, so that it starts from the program's first state and clock.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <deque>
#include <fstream>
#include <set>
#include <vector>

#include "game/game_state.h"
#include "platform/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/input.h"
#include "shell/app_main.h"
#include "shell/globals.h"
#include "shell/key_script.h"
#include "shell/options.h"
#include "support/headless_run.h"

using namespace testing_support;
using platform::InputEvent;

namespace {

constexpr int kReturn = 13, kEscape = 27, kLeft = 37, kF6 = 117, kF7 = 118, kF9 = 120, kF10 = 121;

// Lets the host see that input is waiting, as a browser sees its DOM events,
// without taking it from the program.
class WatchedInput final : public platform::Input {
public:
    explicit WatchedInput(platform::Input& inner) : inner_(inner) {}
    bool waiting() {
        InputEvent event;
        while (inner_.takeEvent(event)) buffered_.push_back(event);
        return !buffered_.empty();
    }
    bool takeEvent(InputEvent& event) override {
        if (buffered_.empty()) return inner_.takeEvent(event);
        event = buffered_.front();
        buffered_.pop_front();
        return true;
    }
    bool keyHeld(int key) override { return inner_.keyHeld(key); }

private:
    platform::Input& inner_;
    std::deque<InputEvent> buffered_;
};

struct HostReport {
    int exitCode = -1;
    std::vector<nlohmann::json> trace;
    std::vector<std::pair<std::uint32_t, bool>> modeAndIdle;  // after each pass
};

// Runs the program in a child process under a host that moves the virtual
// clock one millisecond at a time and calls RunPass only when input waits
// or the pass it was told of is due.
HostReport RunUnderHost(const ScratchDir& dir, const std::string& keysPath, unsigned untilMs) {
    const std::string tracePath = dir.file("host-trace.jsonl"), idlePath = dir.file("host-idle.txt");
    const pid_t child = fork();
    if (child == 0) {
        Options options;
        options.headless = options.noSound = options.settingsGiven = true;
        options.tracePath = tracePath;
        options.settingsDir = dir.path().string();
        SetOptions(options);
        platform::headless::HeadlessSetup setup;
        setup.until = untilMs;
        std::string error;
        if (!LoadKeyScript(keysPath, setup.keys, error)) _exit(90);
        auto backend = platform::headless::OpenHeadlessBackend(std::move(setup));
        WatchedInput input(platform::ActiveInput());
        platform::SetActiveInput(&input);
        ConstructProgramObjects();
        if (!StartInstance()) _exit(91);
        std::ofstream idle(idlePath);
        for (PassResult pass = RunPass(); pass.goOn; pass = RunPass()) {
            idle << gameState.mode << ' ' << pass.idle << '\n';
            while (!input.waiting() && !platform::TickReached(platform::headless::Now(), pass.nextPass))
                platform::headless::AdvanceTo(platform::headless::Now() + 1);
        }
        const int exitCode = EndProgram();
        idle.close();
        DestroyProgramObjects();
        backend.reset();
        _exit(exitCode);
    }
    HostReport report;
    int status = 0;
    waitpid(child, &status, 0);
    report.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    report.trace = ReadTrace(tracePath);
    std::ifstream idle(idlePath);
    for (std::uint32_t mode = 0, isIdle = 0; idle >> mode >> isIdle;) report.modeAndIdle.emplace_back(mode, isIdle);
    return report;
}

}  // namespace

// Only the still screens without a volume key held may wait for
// input, so a host may sleep there without changing a pass the game sees.
TEST(HostDrivenLoop, PassesCalledOnlyWhenDueGiveTheHeadlessRunsTraceAndOnlyStillScreensWait) {
    ScratchDir dir, hostDir;  // each run saves its own settings
    // A game: move and fire, pause with F6 held, resume, F7, fire, the back key.
    const std::string keys =
        dir.write("keys.txt", KeyPress(300, kReturn) + KeyDown(2600, kLeft) + KeyPress(2700, kF9) + KeyUp(3100, kLeft) +
                                  KeyPress(3500, kF10) + KeyDown(3800, kF6) + KeyUp(4100, kF6) + KeyPress(4500, kF10) +
                                  KeyDown(5000, kF7) + KeyUp(5050, kF7) + KeyPress(6000, kF9) + KeyDown(6400, kEscape));
    const RunResult headless =
        RunHeadless(dir, {"--keys", keys, "--until", "7000", "--no-sound", "--settings", dir.path().string()});
    const HostReport host = RunUnderHost(hostDir, keys, 7000);
    ASSERT_EQ(headless.exitCode, 0) << headless.stderrText;
    ASSERT_EQ(host.exitCode, 0);
    ASSERT_GT(headless.trace.size(), 500u);
    ASSERT_EQ(host.trace.size(), headless.trace.size());
    for (std::size_t i = 0; i < host.trace.size(); ++i) ASSERT_EQ(host.trace[i], headless.trace[i]) << "pass " << i + 1;

    const std::set<std::pair<std::uint32_t, bool>> seen(host.modeAndIdle.begin(), host.modeAndIdle.end());
    EXPECT_TRUE(seen.count({Title, true}));
    EXPECT_TRUE(seen.count({Paused, true}));
    EXPECT_TRUE(seen.count({Paused, false})) << "F6 held while paused";
    for (std::uint32_t moving : {RoundStart, Playing, LifeLost, GameOver})
        EXPECT_FALSE(seen.count({moving, true})) << "mode " << moving;
}
