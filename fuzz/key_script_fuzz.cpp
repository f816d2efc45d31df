// Any bytes as a key script: the parser either refuses the text with a line
// number or gives events in time order with keys in 1..255.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless/key_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::headless::KeyEvent;
    std::vector<KeyEvent> events;
    std::string error;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!platform::headless::ParseKeyScript(text, events, error)) {
        if (error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (i > 0 && events[i].tick < events[i - 1].tick) std::abort();
        if (events[i].kind != KeyEvent::Kind::Deactivate && (events[i].virtualKey < 1 || events[i].virtualKey > 255))
            std::abort();
    }
    return 0;
}
