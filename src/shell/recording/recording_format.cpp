#include "shell/recording/recording_format.h"

#include <charconv>

#include "platform/clock.h"
#include "shell/settings_text.h"

using namespace platform;

namespace recording {

namespace {

using Kind = InputEvent::Kind;

// clang-format off
constexpr std::pair<Kind, std::string_view> kEventNames[] = {
    {Kind::KeyDown,     "key-down"},
    {Kind::KeyUp,       "key-up"},
    {Kind::Close,       "close"},
    {Kind::FocusLost,   "focus-lost"},
    {Kind::FocusGained, "focus-gained"},
    {Kind::Deactivated, "deactivated"},
};
// clang-format on

bool hasKey(Kind kind) { return kind == Kind::KeyDown || kind == Kind::KeyUp; }

// Splits off the next word (up to a single space).
std::string_view nextWord(std::string_view& rest) {
    const auto space = rest.find(' ');
    std::string_view word = rest.substr(0, space);
    rest = space == std::string_view::npos ? std::string_view{} : rest.substr(space + 1);
    return word;
}

template <typename Number>
bool readNumber(std::string_view word, Number& number) {
    if (word.empty() || word.size() > 10) return false;
    const auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), number);
    return error == std::errc{} && stop == word.data() + word.size();
}

bool readKey(std::string_view word, int& key) { return readNumber(word, key) && key > 0 && key < 256; }

class LineReader {
public:
    LineReader(Recording& recording, std::string& error) : recording_(recording), error_(error) {}

    bool header(std::string_view text) {
        std::string_view rest = text;
        int version = 0;
        if (nextWord(rest) != kMagic || !readNumber(nextWord(rest), version) || !rest.empty())
            return fail(1, std::string("not an orbitfend recording (it should begin with \"") + HeaderLine() + "\")");
        if (version > kVersion)
            return fail(1, "a recording of version " + std::to_string(version) + ", newer than this orbitfend reads (" +
                               std::to_string(kVersion) + ")");
        if (version < 1) return fail(1, "no recording has version " + std::to_string(version));
        return true;
    }

    bool entry(std::size_t line, std::string_view text) {
        if (text.empty() || text.front() == '#') return true;
        if (recording_.ended) return fail(line, "an entry after the end of the session");
        Entry entry;
        entry.line = line;
        std::string_view rest = text;
        const std::string_view word = nextWord(rest);
        if (word == "clock") {
            if (!readNumber(nextWord(rest), entry.tick) || !rest.empty()) return fail(line, "expected \"clock <ms>\"");
            if (!inOrder(entry)) return false;
        } else if (word == "event") {
            entry.kind = Entry::Kind::Event;
            if (!readNumber(nextWord(rest), entry.tick) || !readEvent(rest, entry.event))
                return fail(line, "expected \"event <ms> <kind>\" (key-down and key-up with a key)");
            if (!inOrder(entry)) return false;
        } else if (word == "no-event" && rest.empty()) {
            entry.kind = Entry::Kind::NoEvent;
        } else if (word == "held") {
            entry.kind = Entry::Kind::Held;
            const std::string_view state = (readKey(nextWord(rest), entry.key), nextWord(rest));
            if (entry.key == 0 || (state != "0" && state != "1") || !rest.empty())
                return fail(line, "expected \"held <key> <0|1>\"");
            entry.held = state == "1";
        } else if (word == "setting") {
            entry.kind = Entry::Kind::Setting;
            if (!readSetting(rest, entry))
                return fail(line, "expected \"setting <name> = <value>\" or \"setting <name>\"");
        } else if (word == "end" && rest.empty()) {
            entry.kind = Entry::Kind::End;
            recording_.ended = true;
        } else {
            return fail(line, "\"" + std::string(text.substr(0, 40)) + "\" is not an entry this orbitfend knows");
        }
        recording_.entries.push_back(std::move(entry));
        return true;
    }

    bool fail(std::size_t line, const std::string& what) {
        error_ = "line " + std::to_string(line) + ": " + what;
        return false;
    }

private:
    static bool readEvent(std::string_view rest, InputEvent& event) {
        const std::string_view name = nextWord(rest);
        for (const auto& [kind, text] : kEventNames) {
            if (name != text) continue;
            event.kind = kind;
            if (!hasKey(kind)) return rest.empty();
            return readKey(nextWord(rest), event.key) && rest.empty();
        }
        return false;
    }

    static bool readSetting(std::string_view rest, Entry& entry) {
        const auto equals = rest.find(" = ");
        entry.name = std::string(rest.substr(0, equals));
        if (!SettingsText::IsName(entry.name)) return false;
        entry.stored = equals != std::string_view::npos;
        if (entry.stored) entry.value = std::string(rest.substr(equals + 3));
        return true;
    }

    // Ticks never go back: a later line with an earlier tick was moved.
    bool inOrder(const Entry& entry) {
        if (lastTickLine_ != 0 && !TickReached(entry.tick, lastTick_))
            return fail(entry.line, "tick " + std::to_string(entry.tick) + " comes before tick " +
                                        std::to_string(lastTick_) + " of line " + std::to_string(lastTickLine_) +
                                        " (lines out of order)");
        lastTick_ = entry.tick;
        lastTickLine_ = entry.line;
        return true;
    }

    Recording& recording_;
    std::string& error_;
    std::uint32_t lastTick_ = 0;
    std::size_t lastTickLine_ = 0;
};

}  // namespace

bool ParseRecording(std::string_view text, Recording& recording, std::string& error) {
    recording = {};
    LineReader reader(recording, error);
    if (text.empty()) return reader.fail(1, "the file is empty, not an orbitfend recording");
    std::size_t line = 0;
    while (!text.empty()) {
        ++line;
        const auto newline = text.find('\n');
        if (newline == std::string_view::npos) return reader.fail(line, "the file ends inside this line (truncated)");
        std::string_view content = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        if (!(line == 1 ? reader.header(content) : reader.entry(line, content))) return false;
    }
    return true;
}

Entry ClockEntry(std::uint32_t tick) {
    Entry entry;
    entry.tick = tick;
    return entry;
}

Entry EventEntry(std::uint32_t tick, const InputEvent& event) {
    Entry entry;
    entry.kind = Entry::Kind::Event;
    entry.tick = tick;
    entry.event = event;
    return entry;
}

Entry NoEventEntry() {
    Entry entry;
    entry.kind = Entry::Kind::NoEvent;
    return entry;
}

Entry HeldEntry(int key, bool held) {
    Entry entry;
    entry.kind = Entry::Kind::Held;
    entry.key = key;
    entry.held = held;
    return entry;
}

Entry SettingEntry(std::string_view name, const std::optional<std::string>& value) {
    Entry entry;
    entry.kind = Entry::Kind::Setting;
    entry.name = std::string(name);
    entry.stored = value.has_value();
    entry.value = value.value_or("");
    return entry;
}

Entry EndEntry() {
    Entry entry;
    entry.kind = Entry::Kind::End;
    return entry;
}

std::string HeaderLine() { return std::string(kMagic) + " " + std::to_string(kVersion); }

std::string FormatEntry(const Entry& entry) {
    switch (entry.kind) {
    case Entry::Kind::Clock: return "clock " + std::to_string(entry.tick);
    case Entry::Kind::Event: {
        std::string line = "event " + std::to_string(entry.tick);
        for (const auto& [kind, text] : kEventNames)
            if (kind == entry.event.kind) line += " " + std::string(text);
        if (hasKey(entry.event.kind)) line += " " + std::to_string(entry.event.key);
        return line;
    }
    case Entry::Kind::NoEvent: return "no-event";
    case Entry::Kind::Held: return "held " + std::to_string(entry.key) + (entry.held ? " 1" : " 0");
    case Entry::Kind::Setting: return "setting " + entry.name + (entry.stored ? " = " + entry.value : "");
    case Entry::Kind::End: return "end";
    }
    return {};
}

const char* DescribeKind(Entry::Kind kind) {
    switch (kind) {
    case Entry::Kind::Clock: return "a clock reading";
    case Entry::Kind::Event: return "an input event";
    case Entry::Kind::NoEvent: return "no input event";
    case Entry::Kind::Held: return "a key-state reading";
    case Entry::Kind::Setting: return "a setting";
    case Entry::Kind::End: return "the end of the session";
    }
    return "";
}

}  // namespace recording
