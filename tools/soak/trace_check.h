// Checks a state trace line by line as it is written, and digests it, so that
// hours of trace never need to be held or stored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "json_line.h"

namespace soak {

class TraceCheck {
public:
    // A check that only counts and digests the lines (a repeat whose trace
    // need only equal the first run's) when `checkLines` is false.
    explicit TraceCheck(bool checkLines = true) : checkLines_(checkLines) {}

    // One line of the trace, without its newline. False (and `error()` says
    // why) when the line breaks a rule; later lines are still digested.
    bool addLine(std::string_view line);

    const std::string& error() const { return error_; }
    std::uint64_t lines() const { return lines_; }
    // The clock of the last well-formed line, in ms; -1 before the first.
    std::int64_t lastTick() const { return lastTick_; }
    // A digest of every byte of every line and its newline (FNV-1a's prime,
    // eight bytes a step): the same lines give the same digest.
    std::uint64_t digest() const { return digest_; }

private:
    bool fail(const std::string& why);
    bool sameFields(std::vector<std::string>& fields);

    bool checkLines_;
    std::uint64_t lines_ = 0;
    std::uint64_t digest_ = 0xcbf29ce484222325ull;
    std::int64_t lastTick_ = -1;
    std::vector<std::string> firstFields_;    // the first line's names, in its order
    std::vector<std::string> firstFieldSet_;  // and sorted, each once
    JsonLineFacts facts_;                     // the current line's, reused
    std::string error_;
};

// The same digest over a whole file's bytes; false when it cannot be read.
bool DigestFile(const std::string& path, std::uint64_t& digest);

}  // namespace soak
