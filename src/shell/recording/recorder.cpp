#include "shell/recording/recorder.h"

using namespace platform;

namespace recording {

Recorder::Recorder(Clock& clock, Input& input, SettingsStore& settings)
    : clock_(clock), input_(input), settings_(settings) {}

Recorder::~Recorder() {
    if (file_ == nullptr) return;
    write(FormatEntry(EndEntry()));
    std::fclose(file_);
}

bool Recorder::open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        error = "cannot write the recording " + path;
        return false;
    }
    write(HeaderLine());
    return true;
}

std::uint32_t Recorder::now() {
    const std::uint32_t tick = clock_.now();
    write(FormatEntry(ClockEntry(tick)));
    return tick;
}

bool Recorder::takeEvent(InputEvent& event) {
    if (!input_.takeEvent(event)) {
        write(FormatEntry(NoEventEntry()));
        return false;
    }
    // The delivery tick is read for the file only; the program never sees it.
    write(FormatEntry(EventEntry(clock_.now(), event)));
    return true;
}

bool Recorder::keyHeld(int key) {
    const bool held = input_.keyHeld(key);
    write(FormatEntry(HeldEntry(key, held)));
    return held;
}

std::optional<std::string> Recorder::value(std::string_view name) const {
    std::optional<std::string> text = settings_.value(name);
    write(FormatEntry(SettingEntry(name, text)));
    return text;
}

void Recorder::write(const std::string& line) const {
    if (file_ == nullptr) return;
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

}  // namespace recording
