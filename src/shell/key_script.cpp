#include "shell/key_script.h"

#include <algorithm>
#include <cstdio>

using platform::headless::KeyEvent;

namespace {

bool parseNumber(std::string_view word, long long max, long long& value) {
    if (word.empty() || word.size() > 12) return false;
    value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= max;
}

// The blanks that separate words, as a stream reading words in the "C"
// locale knows them.
bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Up to `most` words of `line` into `words`; returns how many there were in
// all, so that a line with too many is told apart.
std::size_t splitWords(std::string_view line, std::string_view* words, std::size_t most) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size()) break;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        if (count < most) words[count] = line.substr(start, i - start);
        ++count;
    }
    return count;
}

}  // namespace

bool ParseKeyScript(std::string_view text, std::vector<KeyEvent>& events, std::string& error) {
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        std::string_view w[3];
        const std::size_t words = splitWords(line, w, 3);
        if (words == 0) continue;

        KeyEvent event;
        long long tick = 0, key = 0;
        bool ok = parseNumber(w[0], 0xFFFFFFFFLL, tick) && words >= 2;
        if (ok && w[1] == "deactivate") {
            ok = words == 2;
            event.kind = KeyEvent::Kind::Deactivate;
        } else if (ok && (w[1] == "focus-lost" || w[1] == "focus-gained")) {
            ok = words == 2;
            event.kind = w[1] == "focus-lost" ? KeyEvent::Kind::FocusLost : KeyEvent::Kind::FocusGained;
        } else if (ok && (w[1] == "down" || w[1] == "up")) {
            ok = words == 3 && parseNumber(w[2], 255, key) && key > 0;
            event.kind = w[1] == "down" ? KeyEvent::Kind::Down : KeyEvent::Kind::Up;
        } else {
            ok = false;
        }
        if (!ok) {
            error = "line " + std::to_string(lineNumber) +
                    ": expected '<ms> down <vk>', '<ms> up <vk>', '<ms> deactivate', '<ms> focus-lost' or '<ms> "
                    "focus-gained'";
            return false;
        }
        event.tick = static_cast<std::uint32_t>(tick);
        event.virtualKey = static_cast<int>(key);
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const KeyEvent& a, const KeyEvent& b) { return a.tick < b.tick; });
    return true;
}

bool LoadKeyScript(const std::string& path, std::vector<KeyEvent>& events, std::string& error) {
    // FIX: at most kKeyScriptLimit bytes are read, so an endless file
    // (/dev/zero) or a huge one is refused before any parsing, and a
    // script that cannot be read (a folder) is refused, not run as empty.
    std::string text(kKeyScriptLimit + 1, '\0');
    std::FILE* file = std::fopen(path.c_str(), "rb");
    const std::size_t length = file != nullptr ? std::fread(text.data(), 1, text.size(), file) : 0;
    const bool read = file != nullptr && std::ferror(file) == 0;
    if (file != nullptr) std::fclose(file);
    if (!read) {
        error = "cannot read the key script " + path;
        return false;
    }
    if (length > kKeyScriptLimit) {
        error = "the key script " + path + " is larger than 1 MB";
        return false;
    }
    text.resize(length);
    if (ParseKeyScript(text, events, error)) return true;
    error = path + ": " + error;
    return false;
}
