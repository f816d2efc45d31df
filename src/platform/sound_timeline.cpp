#include "platform/sound_timeline.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

struct Note {
    std::int64_t nanoseconds;
    std::uint32_t value;
    SoundStep step;
};

constexpr std::size_t kNotes = std::size_t{1} << 20;
constexpr const char* kStepNames[] = {"pull", "dry", "wake", "locked", "rendered", "wait", "found"};

struct Timeline {
    const char* path = std::getenv("ORBITFEND_SOUND_TIMELINE");
    Note* notes = path != nullptr ? new Note[kNotes] : nullptr;  // for the program's life
    std::atomic<std::size_t> taken{0};
};

Timeline& TheTimeline() {
    static Timeline timeline;
    return timeline;
}

}  // namespace

void NoteSoundStep(SoundStep step, std::uint32_t value) {
    Timeline& timeline = TheTimeline();
    if (timeline.notes == nullptr) return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    timeline.notes[timeline.taken.fetch_add(1) % kNotes] =
        Note{std::chrono::duration_cast<std::chrono::nanoseconds>(now).count(), value, step};
}

void WriteSoundTimeline() {
    Timeline& timeline = TheTimeline();
    if (timeline.notes == nullptr) return;
    std::FILE* file = std::fopen(timeline.path, "w");
    if (file == nullptr) {
        std::fprintf(stderr, "the sound timeline could not be written to %s\n", timeline.path);
        return;
    }
    const std::size_t taken = timeline.taken;
    for (std::size_t i = taken > kNotes ? taken - kNotes : 0; i < taken; ++i) {
        const Note& note = timeline.notes[i % kNotes];
        std::fprintf(file, "%lld %s %u\n", static_cast<long long>(note.nanoseconds),
                     kStepNames[static_cast<int>(note.step)], static_cast<unsigned>(note.value));
    }
    if (std::fclose(file) != 0) std::fprintf(stderr, "the sound timeline could not be written to %s\n", timeline.path);
}

}  // namespace platform
