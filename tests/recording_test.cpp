// Recordings: every entry the format writes reads back, damaged files are
// refused with the line that is wrong; and a desktop session (SDL's dummy
// video and sound drivers, with key presses scripted into SDL's own queue)
// recorded and replayed headless gives the same state trace line for line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "shell/recording/recording_format.h"
#include "support/headless_run.h"

using namespace testing_support;
using testing::HasSubstr;

namespace {

using namespace platform;
using namespace recording;

std::string errorFor(const std::string& text) {
    Recording recording;
    std::string error;
    EXPECT_FALSE(ParseRecording(text, recording, error)) << text;
    return error;
}

TEST(RecordingFormat, EveryEntryReadsBackAsWritten) {
    const std::uint32_t last = 4294967295u;
    std::vector<Entry> written = {
        ClockEntry(last),
        EventEntry(last, {InputEvent::Kind::KeyDown, VK_F9}),
        EventEntry(last, {InputEvent::Kind::KeyUp, VK_LEFT}),
        NoEventEntry(),
        EventEntry(last, {InputEvent::Kind::FocusLost, 0}),
        HeldEntry(VK_F6, true),
        HeldEntry(VK_F7, false),
        SettingEntry("high-score", "1230 = a lot"),
        SettingEntry("volume", ""),
        SettingEntry("volume", std::nullopt),
        EventEntry(last, {InputEvent::Kind::Close, 0}),
        EndEntry(),
    };
    std::string text = HeaderLine() + "\n# a note\n\n";
    for (const Entry& entry : written) text += FormatEntry(entry) + "\n";

    Recording read;
    std::string error;
    ASSERT_TRUE(ParseRecording(text, read, error)) << error;
    EXPECT_TRUE(read.ended);
    ASSERT_EQ(read.entries.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(FormatEntry(read.entries[i]), FormatEntry(written[i]));
        EXPECT_EQ(read.entries[i].line, i + 4);
    }
    EXPECT_EQ(read.entries[7].value, "1230 = a lot");
    EXPECT_FALSE(read.entries[9].stored);
}

TEST(RecordingFormat, ASessionCutOffBetweenLinesOrPastTheClocksWrapIsGood) {
    Recording read;
    std::string error;
    ASSERT_TRUE(ParseRecording("orbitfend-recording 1\nclock 5\nno-event\n", read, error)) << error;
    EXPECT_FALSE(read.ended);
    EXPECT_EQ(read.entries.size(), 2u);
    EXPECT_TRUE(ParseRecording("orbitfend-recording 1\r\nclock 5\r\n", read, error)) << error;
    // The clock wraps at 2^32: a reading just past it is later, not earlier.
    EXPECT_TRUE(ParseRecording("orbitfend-recording 1\nclock 4294967290\nclock 3\n", read, error)) << error;
}

TEST(RecordingFormat, RefusesFilesThatAreNotWholeOrderedRecordingsNamingTheLine) {
    const std::string notOurs = "line 1: not an orbitfend recording (it should begin with \"orbitfend-recording 1\")";
    const std::pair<std::string, std::string> refused[] = {
        {"", "line 1: the file is empty, not an orbitfend recording"},
        {"orbitfend-record", "line 1: the file ends inside this line (truncated)"},
        {"orbitfend-recording 1\nclock 5\nclock 6", "line 3: the file ends inside this line (truncated)"},
        {"{\"pass\":1}\n", notOurs},
        {"orbitfend-recording x\n", notOurs},
        {"clock 5\norbitfend-recording 1\n", notOurs},
        {"orbitfend-recording 2\nwhatever 7\n",
         "line 1: a recording of version 2, newer than this orbitfend reads (1)"},
        {"orbitfend-recording 1\nclock 5\nmouse 3 4\n", "line 3: \"mouse 3 4\" is not an entry this orbitfend knows"},
        {"orbitfend-recording 1\nclock 500\nheld 117 0\nclock 480\n",
         "line 4: tick 480 comes before tick 500 of line 2 (lines out of order)"},
        {"orbitfend-recording 1\nclock 500\nevent 499 close\n",
         "line 3: tick 499 comes before tick 500 of line 2 (lines out of order)"},
        {"orbitfend-recording 1\nclock 500\nend\nclock 501\n", "line 4: an entry after the end of the session"},
    };
    for (const auto& [text, error] : refused) EXPECT_EQ(errorFor(text), error);
    for (const char* line : {"clock", "clock -1", "clock 5 6", "clock 99999999999", "event 5", "event 5 key-down",
                             "event 5 key-down 256", "event 5 close 13", "event 5 jump", "held 0 1", "held 13 2",
                             "held 13", "setting", "setting bad name = 1", "no-event 3", "end now"}) {
        const std::string error = errorFor(std::string("orbitfend-recording 1\n") + line + "\n");
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << line << ": " << error;
    }
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// A press of a key by its SDL name, held for `holdMs`.
std::string Press(unsigned ms, const std::string& key, unsigned holdMs = 50) {
    return std::to_string(ms) + " down " + key + "\n" + std::to_string(ms + holdMs) + " up " + key + "\n";
}

// Starts a game, moves, fires, raises the volume, pauses and resumes, quits.
const std::string kSession = Press(300, "Return", 60) + Press(2300, "Left", 500) + Press(2900, "Space") +
                             Press(3100, "Right", 500) + Press(3700, "Space") + Press(3900, "=", 400) +
                             Press(4500, "P") + Press(4900, "P") + Press(5000, "Keypad 5") + "5400 quit\n";

// One recorded desktop session, shared by the tests of this file.
class RecordedSession : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<ScratchDir>();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_RUNTIME_DIR", dir_->path().c_str(), 1);
        setenv("ORBITFEND_TEST_SDL_EVENTS", dir_->write("events", kSession).c_str(), 1);
        live_ = RunCommand({kBinary, "--record", dir_->file("session.rec"), "--trace", dir_->file("live.jsonl"),
                            "--settings", dir_->path().string()});
        unsetenv("ORBITFEND_TEST_SDL_EVENTS");
    }
    static void TearDownTestSuite() {
        live_.reset();
        dir_.reset();
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

    static inline std::unique_ptr<ScratchDir> dir_;
    static inline std::optional<RunResult> live_;
};

TEST_F(RecordedSession, ReplaysHeadlessToTheSameTraceLineForLine) {
    const RunResult replayed = replay(recording(), "replayed.jsonl");
    ASSERT_EQ(replayed.exitCode, 0) << replayed.stderrText;
    const std::vector<std::string> live = Lines(ReadFile(dir_->file("live.jsonl")));
    const std::vector<std::string> again = Lines(ReadFile(dir_->file("replayed.jsonl")));
    ASSERT_EQ(again.size(), live.size());
    for (std::size_t i = 0; i < live.size(); ++i) ASSERT_EQ(again[i], live[i]) << "trace line " << i + 1;

    // The session went somewhere: a game was played, the volume changed, and it ended cleanly.
    // (How many passes it took depends on the machine's load: the desktop waits for input on still screens.)
    EXPECT_NE(ReadFile(dir_->file("live.jsonl")).find("\"mode\":3,"), std::string::npos) << "no play";
    EXPECT_NE(live.front().find("\"volume\":16"), std::string::npos) << live.front();
    EXPECT_NE(live.back().find("\"volume\":"), std::string::npos);
    EXPECT_EQ(live.back().find("\"volume\":16,"), std::string::npos) << live.back();
    EXPECT_EQ(Lines(recording()).back(), "end");
}

TEST_F(RecordedSession, CutOffByACrashStillReplaysUpToItsLastLine) {
    std::vector<std::string> lines = Lines(recording());
    lines.resize(lines.size() * 2 / 3);
    const RunResult replayed = replay(joined(lines), "cut.jsonl");
    ASSERT_EQ(replayed.exitCode, 0) << replayed.stderrText;
    EXPECT_THAT(replayed.stderrText, HasSubstr("the recording was cut off"));
    const std::vector<std::string> live = Lines(ReadFile(dir_->file("live.jsonl")));
    const std::vector<std::string> cut = Lines(ReadFile(dir_->file("cut.jsonl")));
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
    const RunResult result = replay(text.substr(0, text.size() - 3), "t.jsonl");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.stderrText,
                HasSubstr("replayed.rec: line " + std::to_string(Lines(text).size()) + ": the file ends inside"));
}

TEST_F(RecordedSession, AnEntryTheProgramDidNotAskForStopsTheReplayAtItsLine) {
    std::vector<std::string> lines = Lines(recording());
    std::size_t at = 1;
    while (lines[at].rfind("held ", 0) != 0) ++at;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), "no-event");
    const RunResult result = replay(joined(lines), "t.jsonl");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.stderrText, HasSubstr("line " + std::to_string(at + 1) + ": the program asked for a"));
}

}  // namespace
