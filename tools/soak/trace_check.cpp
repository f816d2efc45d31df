#include "trace_check.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>

#include <nlohmann/json.hpp>

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

// Reads one line as JSON events, building nothing: it notes the names of the
// outer object's members and the "pass" and "tick" values (the last of each
// name, as a parsed object would keep), when they are unsigned integers.
class LineReader : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit LineReader(std::vector<std::string>& fields) : fields_(fields) { fields_.clear(); }

    bool outerIsObject = false;
    std::optional<std::uint64_t> pass, tick;

    bool null() override { return scalar(); }
    bool boolean(bool) override { return scalar(); }
    bool number_integer(number_integer_t) override { return scalar(); }
    bool number_unsigned(number_unsigned_t value) override {
        if (depth_ == 1 && member_ != nullptr) *member_ = value;
        member_ = nullptr;
        return true;
    }
    bool number_float(number_float_t, const string_t&) override { return scalar(); }
    bool string(string_t&) override { return scalar(); }
    bool binary(binary_t&) override { return scalar(); }
    bool start_object(std::size_t) override {
        if (depth_ == 0) outerIsObject = true;
        return open();
    }
    bool key(string_t& name) override {
        if (depth_ != 1) return true;
        fields_.push_back(name);
        member_ = name == "pass" ? &pass : name == "tick" ? &tick : nullptr;
        // A later member of the same name replaces the earlier one's value.
        if (member_ != nullptr) member_->reset();
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    bool scalar() {
        member_ = nullptr;
        return true;
    }
    bool open() {
        member_ = nullptr;
        ++depth_;
        return true;
    }
    bool close() {
        --depth_;
        return true;
    }

    std::vector<std::string>& fields_;
    int depth_ = 0;
    std::optional<std::uint64_t>* member_ = nullptr;  // the outer member whose value comes next
};

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
    LineReader reader(fields_);
    const bool parsed = nlohmann::json::sax_parse(line.data(), line.data() + line.size(), &reader);
    if (!parsed || !reader.outerIsObject) return fail("not a JSON object");
    if (!sameFields(fields_)) return fail("its fields differ from the first line's");
    if (!reader.pass || *reader.pass != lines_) return fail("pass is not " + std::to_string(lines_));
    if (!reader.tick) return fail("no tick");
    // The clock never wraps within a soak run, so it must never go back.
    const auto tick = static_cast<std::int64_t>(*reader.tick);
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
