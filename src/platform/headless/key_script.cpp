#include "platform/headless/key_script.h"

#include <algorithm>
#include <sstream>

namespace platform::headless {

namespace {

bool parseNumber(const std::string& word, long long max, long long& value) {
    if (word.empty() || word.size() > 12) return false;
    value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= max;
}

}  // namespace

bool ParseKeyScript(const std::string& text, std::vector<KeyEvent>& events, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;

        KeyEvent event;
        long long tick = 0, key = 0;
        bool ok = parseNumber(w[0], 0xFFFFFFFFLL, tick) && w.size() >= 2;
        if (ok && w[1] == "deactivate") {
            ok = w.size() == 2;
            event.kind = KeyEvent::Kind::Deactivate;
        } else if (ok && (w[1] == "focus-lost" || w[1] == "focus-gained")) {
            ok = w.size() == 2;
            event.kind = w[1] == "focus-lost" ? KeyEvent::Kind::FocusLost : KeyEvent::Kind::FocusGained;
        } else if (ok && (w[1] == "down" || w[1] == "up")) {
            ok = w.size() == 3 && parseNumber(w[2], 255, key) && key > 0;
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

}  // namespace platform::headless
