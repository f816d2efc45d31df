// Checks a state trace line by line as it is written, and digests it, so that
// hours of trace never need to be held or stored.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace soak {

class TraceCheck {
public:
    // One line of the trace, without its newline. False (and `error()` says
    // why) when the line breaks a rule; later lines are still digested.
    bool addLine(const std::string& line);

    const std::string& error() const { return error_; }
    std::uint64_t lines() const { return lines_; }
    // FNV-1a over every byte of every line and its newline.
    std::uint64_t digest() const { return digest_; }

private:
    bool fail(const std::string& why);

    std::uint64_t lines_ = 0;
    std::uint64_t digest_ = 0xcbf29ce484222325ull;
    std::int64_t lastTick_ = -1;
    std::set<std::string> fields_;
    std::string error_;
};

// FNV-1a over a whole file's bytes; false when it cannot be read.
bool DigestFile(const std::string& path, std::uint64_t& digest);

}  // namespace soak
