#include "shell/recording/replayer.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace platform;

namespace recording {

Replayer::Replayer(Recording recording, std::string path, Input& input, Reached reached)
    : recording_(std::move(recording)), path_(std::move(path)), input_(input), reached_(std::move(reached)) {}

std::uint32_t Replayer::now() {
    if (const Entry* entry = next(Entry::Kind::Clock)) lastTick_ = entry->tick;
    reached_(lastTick_);
    return lastTick_;
}

bool Replayer::takeEvent(InputEvent& event) {
    liveCloseEndsReplay();
    if (over_) {
        if (closeSent_) return false;
        closeSent_ = true;
        event = {InputEvent::Kind::Close, 0};
        return true;
    }
    if (next_ < recording_.entries.size() && recording_.entries[next_].kind == Entry::Kind::NoEvent) {
        ++next_;
        return false;
    }
    const Entry* entry = next(Entry::Kind::Event);
    if (entry == nullptr) return takeEvent(event);
    event = entry->event;
    return true;
}

bool Replayer::keyHeld(int key) {
    const Entry* entry = next(Entry::Kind::Held);
    if (entry == nullptr) return false;
    if (entry->key != key) {
        std::fprintf(stderr, "orbitfend: %s line %zu: the program read key %d where the recording has key %d\n",
                     path_.c_str(), entry->line, key, entry->key);
        std::fflush(nullptr);
        std::_Exit(2);
    }
    return entry->held;
}

std::optional<std::string> Replayer::value(std::string_view name) const {
    const Entry* entry = next(Entry::Kind::Setting);
    if (entry == nullptr || !entry->stored) return std::nullopt;
    if (entry->name != name) {
        std::fprintf(stderr, "orbitfend: %s line %zu: the program read the setting %.*s where the recording has %s\n",
                     path_.c_str(), entry->line, static_cast<int>(name.size()), name.data(), entry->name.c_str());
        std::fflush(nullptr);
        std::_Exit(2);
    }
    return entry->value;
}

const Entry* Replayer::next(Entry::Kind kind) const {
    if (over_) return nullptr;
    if (next_ >= recording_.entries.size() || recording_.entries[next_].kind == Entry::Kind::End) {
        over_ = true;
        if (!recording_.ended)
            std::fprintf(stderr, "orbitfend: %s: the recording was cut off; the replay ends with its last line\n",
                         path_.c_str());
        return nullptr;
    }
    const Entry& entry = recording_.entries[next_++];
    if (entry.kind == kind) return &entry;
    // Another build, or an edited file: what follows would be a different session.
    std::fprintf(stderr, "orbitfend: %s line %zu: the program asked for %s where the recording has %s\n", path_.c_str(),
                 entry.line, DescribeKind(kind), DescribeKind(entry.kind));
    std::fflush(nullptr);
    std::_Exit(2);
}

void Replayer::liveCloseEndsReplay() {
    InputEvent live;
    while (!over_ && input_.takeEvent(live))
        if (live.kind == InputEvent::Kind::Close) over_ = true;
}

}  // namespace recording
