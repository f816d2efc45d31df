// The key script's reading: words split at any blank as a person's editor
// may leave them, comments dropped, and a bad line named by its number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/key_script.h"

using platform::headless::KeyEvent;

TEST(KeyScript, ReadsLinesWithAnyBlanksAndCarriageReturnsAndDropsComments) {
    std::vector<KeyEvent> events;
    std::string error;
    const std::string text =
        "# a note\r\n"
        "\t300  up\t13 # let go\r\n"
        "100 down 13\r\n"
        "\v\f\n"
        "300 deactivate\r"
        "\n200 focus-lost";
    ASSERT_TRUE(ParseKeyScript(text, events, error)) << error;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].tick, 100u);
    EXPECT_EQ(events[0].kind, KeyEvent::Kind::Down);
    EXPECT_EQ(events[0].virtualKey, 13);
    EXPECT_EQ(events[1].kind, KeyEvent::Kind::FocusLost);
    // Equal times keep the script's order.
    EXPECT_EQ(events[2].kind, KeyEvent::Kind::Up);
    EXPECT_EQ(events[3].kind, KeyEvent::Kind::Deactivate);
}

TEST(KeyScript, RefusesTheFirstBadLineByItsNumber) {
    using namespace std::string_literals;
    const std::string bad[] = {
        "100 down"s,            // no key
        "100 down 13 14"s,      // one word too many
        "100 down 0"s,          // keys start at 1
        "100 down 256"s,        // and end at 255
        "4294967296 down 13"s,  // past the 32-bit clock
        "100 focus-lost now"s,  // a word after an event without a key
        "1e3 down 13"s,         // decimal digits only
        "100 press 13"s,        // no such event
        "100\0down 13"s,        // a NUL is not a blank
    };
    for (const std::string& line : bad) {
        std::vector<KeyEvent> events;
        std::string error;
        EXPECT_FALSE(ParseKeyScript("100 down 13\n\n" + line + "\n200 up 13\n", events, error)) << line;
        EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << line << ": " << error;
    }
}
