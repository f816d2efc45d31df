// The recording file: what the platform handed the program during one
// session, one entry a line, in the order the program asked for it.
//
//   orbitfend-recording 1          the header: the format and its version
//   clock <ms>                     a clock reading
//   event <ms> key-down <vk>       an input event taken, with the tick at which
//   event <ms> key-up <vk>         it was delivered; <vk> is a device key code
//   event <ms> close               (13 Enter, 27 Escape, 37..40 the arrows,
//   event <ms> focus-lost          117 F6, 118 F7, 120 F9, 121 F10, ...)
//   event <ms> focus-gained
//   event <ms> deactivated
//   no-event                       asked for an event; none was waiting
//   held <vk> <0|1>                a key-state reading
//   setting <name> = <value>       a stored setting read
//   setting <name>                 a setting read that was not stored
//   end                            the session ended normally
//
// Lines starting with '#' are notes. Ticks never go back. A file without
// "end" was cut off (a crash): it is good up to its last whole line. This
// format is stable; a change that old programs cannot read takes a new version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input.h"

namespace recording {

constexpr int kVersion = 1;
constexpr const char* kMagic = "orbitfend-recording";

struct Entry {
    enum class Kind { Clock, Event, NoEvent, Held, Setting, End };
    Kind kind = Kind::Clock;
    std::size_t line = 0;        // 1-based, in the file
    std::uint32_t tick = 0;      // Clock, Event
    platform::InputEvent event;  // Event
    int key = 0;                 // Held
    bool held = false;           // Held
    std::string name;            // Setting
    bool stored = false;         // Setting: whether it had a value
    std::string value;           // Setting
};

// Entries as the recorder writes them.
Entry ClockEntry(std::uint32_t tick);
Entry EventEntry(std::uint32_t tick, const platform::InputEvent& event);
Entry NoEventEntry();
Entry HeldEntry(int key, bool held);
Entry SettingEntry(std::string_view name, const std::optional<std::string>& value);
Entry EndEntry();

struct Recording {
    std::vector<Entry> entries;
    bool ended = false;  // whether it closes with "end"
};

// Reads a whole recording. False with `error` naming the line ("line 3: ...")
// for a file that is empty, foreign, of a newer version, cut off inside a
// line, out of order, or holding a line this version does not know.
bool ParseRecording(std::string_view text, Recording& recording, std::string& error);

// The line (no '\n') for each entry, as ParseRecording reads it back.
std::string HeaderLine();
std::string FormatEntry(const Entry& entry);

// What the program asked for, in words ("a clock reading"), for messages.
const char* DescribeKind(Entry::Kind kind);

}  // namespace recording
