// The soak's trace check: each line one JSON object with the first line's
// fields, passes counted from 1, a clock that never goes back; a repeat's
// trace only counted and digested. And its key scripts, which the program
// must take.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "key_script_generator.h"
#include "shell/key_script.h"
#include "trace_check.h"

namespace {

std::string Line(unsigned pass, unsigned tick, const std::string& more = R"("mode":3,"played":[1,2])") {
    return R"({"pass":)" + std::to_string(pass) + R"(,"tick":)" + std::to_string(tick) + "," + more + "}";
}

}  // namespace

TEST(SoakTraceCheck, AcceptsAWellFormedTraceWhateverTheOrderOfItsFields) {
    soak::TraceCheck check;
    EXPECT_TRUE(check.addLine(Line(1, 0)));
    EXPECT_TRUE(check.addLine(Line(2, 0)));
    EXPECT_TRUE(check.addLine(R"({"played":[],"tick":16,"mode":{"deep":[1]},"pass":3})"));
    EXPECT_EQ(check.error(), "");
    EXPECT_EQ(check.lines(), 3u);
}

TEST(SoakTraceCheck, NamesTheFirstLineThatBreaksARule) {
    struct Case {
        std::string badLine;
        std::string error;
    };
    const Case cases[] = {
        {"[1,2]", "trace line 3: not a JSON object"},
        {Line(3, 20) + " x", "trace line 3: not a JSON object"},
        {Line(3, 20, R"("mode":3)"), "trace line 3: its fields differ from the first line's"},
        {Line(3, 20, R"("mode":3,"played":[],"extra":0)"), "trace line 3: its fields differ from the first line's"},
        {Line(4, 20), "trace line 3: pass is not 3"},
        {R"({"pass":3,"tick":-1,"mode":3,"played":[]})", "trace line 3: no tick"},
        {R"({"pass":3,"tick":20,"mode":3,"played":[],"pass":"3"})", "trace line 3: pass is not 3"},
        {Line(3, 9), "trace line 3: the clock went back from 10"},
    };
    for (const Case& c : cases) {
        soak::TraceCheck check;
        check.addLine(Line(1, 0));
        check.addLine(Line(2, 10));
        EXPECT_FALSE(check.addLine(c.badLine)) << c.badLine;
        EXPECT_TRUE(check.addLine(Line(4, 30)));
        EXPECT_EQ(check.error(), c.error) << c.badLine;
    }
}

TEST(SoakTraceCheck, ARepeatIsOnlyDigestedAndItsDigestMatchesTheFirstRun) {
    soak::TraceCheck checked, repeat(false);
    for (const std::string& line : {Line(1, 0), Line(2, 5)}) {
        checked.addLine(line);
        repeat.addLine(line);
    }
    EXPECT_TRUE(repeat.addLine("not json"));
    checked.addLine("not json");
    EXPECT_EQ(repeat.error(), "");
    EXPECT_EQ(repeat.lines(), checked.lines());
    EXPECT_EQ(repeat.digest(), checked.digest());
    soak::TraceCheck other(false);
    other.addLine(Line(1, 1));
    EXPECT_NE(other.digest(), soak::TraceCheck(false).digest());
}

TEST(SoakKeyScript, ALongRunsScriptStaysWithinWhatTheProgramReads) {
    constexpr std::uint64_t kTenHoursMs = 10ull * 60 * 60 * 1000;
    const std::string script = soak::MakeKeyScript(7, kTenHoursMs);
    EXPECT_LT(script.size(), kKeyScriptLimit);
    std::vector<platform::headless::KeyEvent> events;
    std::string error;
    ASSERT_TRUE(ParseKeyScript(script, events, error)) << error;
    EXPECT_GT(events.size(), 20000u) << "still a key every couple of seconds";
}
