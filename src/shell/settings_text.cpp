#include "shell/settings_text.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string oneLine(std::string_view text) {
    std::string line(trimmed(text));
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return std::string(trimmed(line));
}

}  // namespace

bool SettingsText::IsName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
               c == '.';
    });
}

SettingsText SettingsText::Parse(std::string_view text, std::vector<std::size_t>* ignoredLines) {
    SettingsText parsed;
    parsed.lines_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        Line kept{std::string(line), {}};
        const std::string_view content = trimmed(line);
        const std::size_t equals = content.find('=');
        if (content.empty() || content.front() == '#') {
            // a note
        } else if (equals != std::string_view::npos && IsName(trimmed(content.substr(0, equals)))) {
            kept.name = trimmed(content.substr(0, equals));
        } else if (ignoredLines != nullptr) {
            ignoredLines->push_back(number);
        }
        parsed.lines_.push_back(std::move(kept));
    }
    return parsed;
}

std::optional<std::string> SettingsText::value(std::string_view name) const {
    const auto line = std::find_if(lines_.rbegin(), lines_.rend(), [&](const Line& l) { return l.name == name; });
    if (line == lines_.rend()) return std::nullopt;
    return std::string(trimmed(std::string_view(line->text).substr(line->text.find('=') + 1)));
}

void SettingsText::set(std::string_view name, std::string_view text, std::string_view note) {
    const std::string line = std::string(name) + " = " + oneLine(text);
    const auto found = std::find_if(lines_.rbegin(), lines_.rend(), [&](const Line& l) { return l.name == name; });
    if (found != lines_.rend()) {
        found->text = line;
        return;
    }
    if (!lines_.empty() && !trimmed(lines_.back().text).empty()) lines_.push_back({});
    while (!note.empty()) {
        const std::size_t end = std::min(note.find('\n'), note.size());
        const std::string_view noteLine = note.substr(0, end);
        const std::string noteText = oneLine(noteLine);
        lines_.push_back({noteText.empty() ? "#" : "# " + noteText, {}});
        note.remove_prefix(std::min(end + 1, note.size()));
    }
    lines_.push_back({line, std::string(name)});
}

std::string SettingsText::text() const {
    std::size_t length = 0;
    for (const Line& line : lines_) length += line.text.size() + 1;
    std::string all;
    all.reserve(length);
    for (const Line& line : lines_) {
        all += line.text;
        all += '\n';
    }
    return all;
}
