#include "trace_check.h"

#include <fstream>

#include <nlohmann/json.hpp>

namespace soak {

namespace {

constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;

void fold(std::uint64_t& digest, const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) digest = (digest ^ static_cast<unsigned char>(bytes[i])) * kFnvPrime;
}

}  // namespace

bool TraceCheck::fail(const std::string& why) {
    if (error_.empty()) error_ = "trace line " + std::to_string(lines_) + ": " + why;
    return false;
}

bool TraceCheck::addLine(const std::string& line) {
    ++lines_;
    fold(digest_, line.data(), line.size());
    fold(digest_, "\n", 1);
    const auto object = nlohmann::json::parse(line, nullptr, false);
    if (!object.is_object()) return fail("not a JSON object");
    std::set<std::string> fields;
    for (const auto& item : object.items()) fields.insert(item.key());
    if (fields_.empty()) fields_ = fields;
    if (fields != fields_) return fail("its fields differ from the first line's");
    if (!object["pass"].is_number_unsigned() || object["pass"].get<std::uint64_t>() != lines_)
        return fail("pass is not " + std::to_string(lines_));
    if (!object["tick"].is_number_unsigned()) return fail("no tick");
    // The clock never wraps within a soak run, so it must never go back.
    const auto tick = object["tick"].get<std::int64_t>();
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
