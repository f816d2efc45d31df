// Reading recording files: every entry written reads back, and damaged files
// are refused with the line that is wrong.
#include <gtest/gtest.h>

#include "shell/recording/recording_format.h"

using namespace platform;
using namespace recording;

namespace {

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

}  // namespace
