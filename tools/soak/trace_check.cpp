#include "trace_check.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "json_line.h"

namespace soak {

namespace {

constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;

// Eight bytes a step, where FNV-1a takes one: hours of trace are digested
// twice a seed. The shift brings the high bits, which a product leaves to
// the high bits alone, back down to the low ones.
void fold(std::uint64_t& digest, const char* bytes, std::size_t size) {
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        digest = (digest ^ word) * kFnvPrime;
        digest ^= digest >> 32;
    }
    for (; i < size; ++i) digest = (digest ^ static_cast<unsigned char>(bytes[i])) * kFnvPrime;
}

}  // namespace

bool TraceCheck::fail(const std::string& why) {
    if (error_.empty()) error_ = "trace line " + std::to_string(lines_) + ": " + why;
    return false;
}

// Whether `fields` names the same members as the first line did (in any
// order, and counting a repeated name once); the first line sets them.
bool TraceCheck::sameFields(std::vector<std::string>& fields) {
    if (firstFields_.empty()) {
        firstFields_ = fields;
        firstFieldSet_ = fields;
        std::sort(firstFieldSet_.begin(), firstFieldSet_.end());
        firstFieldSet_.erase(std::unique(firstFieldSet_.begin(), firstFieldSet_.end()), firstFieldSet_.end());
    }
    if (fields == firstFields_) return true;
    std::sort(fields.begin(), fields.end());
    fields.erase(std::unique(fields.begin(), fields.end()), fields.end());
    return fields == firstFieldSet_;
}

bool TraceCheck::addLine(std::string_view line) {
    ++lines_;
    fold(digest_, line.data(), line.size());
    fold(digest_, "\n", 1);
    if (!checkLines_) return true;
    if (!ReadJsonObjectLine(line, facts_)) return fail("not a JSON object");
    if (!sameFields(facts_.names)) return fail("its fields differ from the first line's");
    if (!facts_.pass || *facts_.pass != lines_) return fail("pass is not " + std::to_string(lines_));
    if (!facts_.tick) return fail("no tick");
    // The clock never wraps within a soak run, so it must never go back.
    const auto tick = static_cast<std::int64_t>(*facts_.tick);
    if (tick < lastTick_) return fail("the clock went back from " + std::to_string(lastTick_));
    lastTick_ = tick;
    return true;
}

bool DigestFile(const std::string& path, std::uint64_t& digest) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    digest = 0xcbf29ce484222325ull;
    char buffer[1 << 16];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0)
        fold(digest, buffer, static_cast<std::size_t>(file.gcount()));
    return true;
}

}  // namespace soak
