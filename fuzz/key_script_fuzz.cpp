// Any bytes as a key script: the parser either refuses the text with a line
// number or gives events in time order, keys going down or up with keys in
// 1..255 and the other events with none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "shell/key_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::headless::KeyEvent;
    std::vector<KeyEvent> events;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!ParseKeyScript(text, events, error)) {
        if (error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (i > 0 && events[i].tick < events[i - 1].tick) std::abort();
        // Only a key going down or up names a key; the other events carry none.
        const bool namesKey = events[i].kind == KeyEvent::Kind::Down || events[i].kind == KeyEvent::Kind::Up;
        if (namesKey ? events[i].virtualKey < 1 || events[i].virtualKey > 255 : events[i].virtualKey != 0) std::abort();
    }
    return 0;
}
