// Feeds arbitrary bytes to the recording reader. It may refuse them, but only
// with a message that names a line; what it accepts must write back out and
// read back as the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/recording/recording_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace recording;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Recording recording;
    std::string error;
    if (!ParseRecording(input, recording, error)) {
        if (error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    // A carriage return before a line end is dropped, so such input need not come back the same.
    if (input.find('\r') != std::string_view::npos) return 0;
    std::string written = HeaderLine() + "\n";
    for (const Entry& entry : recording.entries) written += FormatEntry(entry) + "\n";
    Recording reread;
    if (!ParseRecording(written, reread, error) || reread.ended != recording.ended ||
        reread.entries.size() != recording.entries.size())
        std::abort();
    for (std::size_t i = 0; i < recording.entries.size(); ++i)
        if (FormatEntry(reread.entries[i]) != FormatEntry(recording.entries[i])) std::abort();
    return 0;
}
