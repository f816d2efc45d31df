// The soak's own JSON line reader agrees with nlohmann's parser on what is a
// JSON object, on its member names and on its unsigned "pass" and "tick".
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "json_line.h"

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

}  // namespace

TEST(SoakJsonLine, AgreesWithALibraryOnChosenLines) {
    const std::string lines[] = {
        kTraceLine,
        "  {} \r\n",
        R"({"pass":1,"pass":"1"})",
        R"({"\u0070ass":18446744073709551615,"tick":18446744073709551616})",
        R"({"pass":-0,"tick":0})",
        R"({"tick":01})",
        R"({"tick":1.})",
        R"({"tick":1e})",
        R"({"tick":-})",
        R"({"a":[1,]})",
        R"({"a":1,})",
        R"({"a" 1})",
        R"({"a":tru})",
        R"({"a":"\x"})",
        R"({"a":"\ud800"})",
        R"({"a":"\udc00"})",
        R"({"a":"\ud800\u0041"})",
        "{\"a\":\"\t\"}",
        "{\"a\":\"\xC0\x80\"}",
        "{\"a\":\"\xED\xA0\x80\"}",
        "{\"a\":\"\xF4\x90\x80\x80\"}",
        "{\"a\":\"\xE2\x82\xAC\"}",
        "{\"a\":1}{}",
        "[1]",
        "\"text\"",
        "",
    };
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
