// Record a desktop session (SDL's dummy video and sound drivers, with key
// presses scripted into SDL's own queue) and replay it headless: the state
// traces must match line for line. Damaged recordings are refused by line.
#include <cstdlib>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/headless_run.h"

using namespace testing_support;
using testing::HasSubstr;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// Starts a game, moves, fires, raises the volume, pauses and resumes, quits.
constexpr const char* kSession = R"(300 down Return
360 up Return
2300 down Left
2800 up Left
2900 down Space
2950 up Space
3100 down Right
3600 up Right
3700 down Space
3750 up Space
3900 down =
4300 up =
4500 down P
4550 up P
4900 down P
4950 up P
5000 down Keypad 5
5050 up Keypad 5
5400 quit
)";

// One recorded desktop session, shared by the tests of this file.
class RecordedSession : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new ScratchDir;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_RUNTIME_DIR", dir_->path().c_str(), 1);
        setenv("ORBITFEND_TEST_SDL_EVENTS", dir_->write("events", kSession).c_str(), 1);
        live_ = new RunResult(RunCommand({kBinary, "--record", dir_->file("session.rec"), "--trace",
                                          dir_->file("live.jsonl"), "--settings", dir_->path().string()}));
        unsetenv("ORBITFEND_TEST_SDL_EVENTS");
    }
    static void TearDownTestSuite() {
        delete live_;
        delete dir_;
    }

    void SetUp() override {
        if (live_->exitCode != 0 && live_->stderrText.find("cannot open a window") != std::string::npos)
            GTEST_SKIP() << "SDL's dummy video driver is not available: " << live_->stderrText;
        ASSERT_EQ(live_->exitCode, 0) << live_->stderrText;
    }

    static std::string recording() { return ReadFile(dir_->file("session.rec")); }

    // Replays `recording` headless; the trace goes to `trace`.
    static RunResult replay(const std::string& recordingText, const std::string& trace) {
        const std::string path = dir_->write("replayed.rec", recordingText);
        return RunCommand({kBinary, "--headless", "--replay", path, "--trace", dir_->file(trace)});
    }

    static ScratchDir* dir_;
    static RunResult* live_;
};

ScratchDir* RecordedSession::dir_ = nullptr;
RunResult* RecordedSession::live_ = nullptr;

TEST_F(RecordedSession, ReplaysHeadlessToTheSameTraceLineForLine) {
    const RunResult replayed = replay(recording(), "replayed.jsonl");
    ASSERT_EQ(replayed.exitCode, 0) << replayed.stderrText;
    const std::vector<std::string> live = linesOf(ReadFile(dir_->file("live.jsonl")));
    const std::vector<std::string> again = linesOf(ReadFile(dir_->file("replayed.jsonl")));
    ASSERT_EQ(again.size(), live.size());
    for (std::size_t i = 0; i < live.size(); ++i) ASSERT_EQ(again[i], live[i]) << "trace line " << i + 1;

    // The session went somewhere: a game was played, the volume changed, and it ended cleanly.
    // (How many passes it took depends on the machine's load: the desktop waits for input on still screens.)
    EXPECT_NE(ReadFile(dir_->file("live.jsonl")).find("\"mode\":3,"), std::string::npos) << "no play";
    EXPECT_NE(live.front().find("\"volume\":16"), std::string::npos) << live.front();
    EXPECT_NE(live.back().find("\"volume\":"), std::string::npos);
    EXPECT_EQ(live.back().find("\"volume\":16,"), std::string::npos) << live.back();
    EXPECT_EQ(linesOf(recording()).back(), "end");
}

TEST_F(RecordedSession, CutOffByACrashStillReplaysUpToItsLastLine) {
    std::vector<std::string> lines = linesOf(recording());
    lines.resize(lines.size() * 2 / 3);
    const RunResult replayed = replay(joined(lines), "cut.jsonl");
    ASSERT_EQ(replayed.exitCode, 0) << replayed.stderrText;
    EXPECT_THAT(replayed.stderrText, HasSubstr("the recording was cut off"));
    const std::vector<std::string> live = linesOf(ReadFile(dir_->file("live.jsonl")));
    const std::vector<std::string> cut = linesOf(ReadFile(dir_->file("cut.jsonl")));
    ASSERT_GT(cut.size(), 10u);
    ASSERT_LT(cut.size(), live.size());
    // The pass in which the file ran out reads the clock no further, and the
    // next one takes the close request sent at the cut; all before are the same.
    for (std::size_t i = 0; i + 2 < cut.size(); ++i) ASSERT_EQ(cut[i], live[i]) << "trace line " << i + 1;
}

// The reader's messages are the recording format's; here, that the program
// says them with the file and refuses to run.
TEST_F(RecordedSession, DamagedRecordingsAreRefusedWithTheLineAndExitStatus2) {
    const std::string text = recording();
    RunResult result = replay(text.substr(0, text.size() - 3), "t.jsonl");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.stderrText,
                HasSubstr("replayed.rec: line " + std::to_string(linesOf(text).size()) + ": the file ends inside"));

    result = replay(ReadFile(dir_->file("live.jsonl")), "t.jsonl");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.stderrText, HasSubstr("line 1: not an orbitfend recording"));
}

TEST_F(RecordedSession, AnEntryTheProgramDidNotAskForStopsTheReplayAtItsLine) {
    std::vector<std::string> lines = linesOf(recording());
    std::size_t at = 1;
    while (lines[at].rfind("held ", 0) != 0) ++at;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), "no-event");
    const RunResult result = replay(joined(lines), "t.jsonl");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.stderrText, HasSubstr("line " + std::to_string(at + 1) + ": the program asked for a"));
}

}  // namespace
