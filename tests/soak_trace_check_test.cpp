// The soak's trace check: each line one JSON object with the first line's
// fields, passes counted from 1, a clock that never goes back; a repeat's
// trace only counted and digested. Its own JSON line reader, which must agree
// with nlohmann's parser on what is a JSON object, on its member names and on
// its unsigned "pass" and "tick". And its key scripts, which the program must
// take.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "json_line.h"
#include "key_script_generator.h"
#include "shell/key_script.h"
#include "trace_check.h"

namespace {

const std::string kTraceLine =
    R"({"pass":12,"tick":200,"mode":3,"score":-10,"cannon":{"x":24,"y":191},"played":[1,2],"ship":null,)"
    R"("ok":true,"f":false,"r":1.5e-3,"s":"a\"\\\/\b\f\n\r\t\u00e9\ud83d\ude00 \u00c3\u00a9"})";

// Whether the reader and nlohmann agree on `line`.
::testing::AssertionResult Agree(const std::string& line) {
    soak::JsonLineFacts facts;
    const bool read = soak::ReadJsonObjectLine(line, facts);
    const auto parsed = nlohmann::json::parse(line, nullptr, false);
    const bool object = !parsed.is_discarded() && parsed.is_object();
    if (read != object) return ::testing::AssertionFailure() << (read ? "read" : "refused") << ": " << line;
    if (!object) return ::testing::AssertionSuccess();
    std::set<std::string> names(facts.names.begin(), facts.names.end()), expected;
    for (const auto& item : parsed.items()) expected.insert(item.key());
    if (names != expected) return ::testing::AssertionFailure() << "other names: " << line;
    for (const char* name : {"pass", "tick"}) {
        const auto found = parsed.find(name);
        const bool isUnsigned = found != parsed.end() && found->is_number_unsigned();
        const auto& mine = std::string(name) == "pass" ? facts.pass : facts.tick;
        if (mine.has_value() != isUnsigned || (isUnsigned && *mine != found->get<std::uint64_t>()))
            return ::testing::AssertionFailure() << "another " << name << ": " << line;
    }
    return ::testing::AssertionSuccess();
}

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
    const struct {
        std::string badLine;
        std::string error;
    } cases[] = {
        {"[1,2]", "trace line 3: not a JSON object"},
        {Line(3, 20) + " x", "trace line 3: not a JSON object"},
        {Line(3, 20, R"("mode":3)"), "trace line 3: its fields differ from the first line's"},
        {Line(3, 20, R"("mode":3,"played":[],"extra":0)"), "trace line 3: its fields differ from the first line's"},
        {Line(4, 20), "trace line 3: pass is not 3"},
        {R"({"pass":3,"tick":-1,"mode":3,"played":[]})", "trace line 3: no tick"},
        {R"({"pass":3,"tick":20,"mode":3,"played":[],"pass":"3"})", "trace line 3: pass is not 3"},
        {Line(3, 9), "trace line 3: the clock went back from 10"},
    };
    for (const auto& c : cases) {
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

TEST(SoakJsonLine, AgreesWithALibraryOnChosenLines) {
    // clang-format off
    const std::string lines[] = {
        kTraceLine, "  {} \r\n", R"({"pass":1,"pass":"1"})", R"({"pass":-0,"tick":0})",
        R"({"\u0070ass":18446744073709551615,"tick":18446744073709551616})",
        R"({"tick":01})", R"({"tick":1.})", R"({"tick":1e})", R"({"tick":-})", R"({"a":[1,]})", R"({"a":1,})",
        R"({"a" 1})", R"({"a":tru})", R"({"a":"\x"})", R"({"a":"\ud800"})", R"({"a":"\udc00"})",
        R"({"a":"\ud800\u0041"})", "{\"a\":\"\t\"}", "{\"a\":\"\xC0\x80\"}", "{\"a\":\"\xED\xA0\x80\"}",
        "{\"a\":\"\xF4\x90\x80\x80\"}", "{\"a\":\"\xE2\x82\xAC\"}", "{\"a\":1}{}", "[1]", "\"text\"", ""};
    // clang-format on
    for (const std::string& line : lines) EXPECT_TRUE(Agree(line));
}

TEST(SoakJsonLine, AgreesWithALibraryOnManyMangledTraceLines) {
    const std::string alphabet = "{}[]\":,.-+eE0123456789\\u/ntfal \t\xC3\xA9\xED\xF0\x80\xBF";
    std::mt19937 random(14);
    for (int i = 0; i < 20000; ++i) {
        std::string line = kTraceLine;
        const int edits = 1 + static_cast<int>(random() % 3);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (line.size() + 1);
            const char c = alphabet[random() % alphabet.size()];
            switch (random() % 3) {
            case 0: line.insert(line.begin() + static_cast<std::ptrdiff_t>(at), c); break;
            case 1:
                if (at < line.size()) line.erase(at, 1);
                break;
            default:
                if (at < line.size()) line[at] = c;
                break;
            }
        }
        ASSERT_TRUE(Agree(line)) << "mangling " << i;
    }
}
