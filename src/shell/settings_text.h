// The settings file's text: notes and "name = value" lines that a person can
// read and edit, kept line for line so that a rewrite changes only the values
// that changed.
//
//   # orbitfend's settings: one "name = value" on each line. ...
//
//   # The best score so far.
//   high-score = 1230
//
// A name is letters, digits, '-', '_' and '.'; a value is the rest of the line
// with the blanks around it trimmed. Blank lines and lines that start with '#'
// are notes. Any other line is kept as it is and otherwise ignored. When a
// name appears twice, the last line counts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class SettingsText {
public:
    // Takes `text` line by line. `ignoredLines` receives the 1-based numbers of
    // the lines that are neither notes nor "name = value".
    static SettingsText Parse(std::string_view text, std::vector<std::size_t>* ignoredLines = nullptr);

    // The value of the last line that sets `name`, or nothing.
    std::optional<std::string> value(std::string_view name) const;

    // Sets `name` to `text` on its line. A name without a line gets one at the
    // end, after a blank line and `note` (each of its lines made a comment), so
    // that the file says what the value means. A value is one line of text:
    // line breaks in it become spaces.
    void set(std::string_view name, std::string_view text, std::string_view note);

    bool empty() const { return lines_.empty(); }

    // The whole text, each line ending in '\n'.
    std::string text() const;

    // True for names that a line can hold.
    static bool IsName(std::string_view name);

private:
    struct Line {
        std::string text;
        std::string name;  // empty for notes and ignored lines
    };
    std::vector<Line> lines_;
};
