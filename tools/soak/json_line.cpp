#include "json_line.h"

namespace soak {

namespace {

// Nesting deeper than this is refused rather than read by recursion; a
// trace line nests three deep.
constexpr int kDeepest = 512;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Reader {
public:
    explicit Reader(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool line(JsonLineFacts& facts) {
        skipBlanks();
        if (p_ == end_ || *p_ != '{') return false;
        if (!object(&facts, 1)) return false;
        skipBlanks();
        return p_ == end_;
    }

private:
    void skipBlanks() {
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r')) ++p_;
    }
    bool take(char c) {
        if (p_ == end_ || *p_ != c) return false;
        ++p_;
        return true;
    }

    // A value; `member`, when given, receives it if it is an unsigned integer.
    bool value(std::optional<std::uint64_t>* member, int depth) {
        skipBlanks();
        if (p_ == end_) return false;
        switch (*p_) {
        case '{': return object(nullptr, depth + 1);
        case '[': return array(depth + 1);
        case '"': return string(nullptr);
        case 't': return literal("true");
        case 'f': return literal("false");
        case 'n': return literal("null");
        default: return number(member);
        }
    }

    // An object; `facts`, for the outer one, receives its names and values.
    bool object(JsonLineFacts* facts, int depth) {
        if (depth > kDeepest) return false;
        ++p_;
        skipBlanks();
        if (take('}')) return true;
        for (;;) {
            skipBlanks();
            if (p_ == end_ || *p_ != '"') return false;
            std::optional<std::uint64_t>* member = nullptr;
            if (facts != nullptr) {
                std::string& name = facts->names.emplace_back();
                if (!string(&name)) return false;
                member = name == "pass" ? &facts->pass : name == "tick" ? &facts->tick : nullptr;
                // A later member of the same name replaces the earlier one's value.
                if (member != nullptr) member->reset();
            } else if (!string(nullptr)) {
                return false;
            }
            skipBlanks();
            if (!take(':') || !value(member, depth)) return false;
            skipBlanks();
            if (take('}')) return true;
            if (!take(',')) return false;
        }
    }

    bool array(int depth) {
        if (depth > kDeepest) return false;
        ++p_;
        skipBlanks();
        if (take(']')) return true;
        for (;;) {
            if (!value(nullptr, depth)) return false;
            skipBlanks();
            if (take(']')) return true;
            if (!take(',')) return false;
        }
    }

    bool literal(std::string_view word) {
        if (static_cast<std::size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word)
            return false;
        p_ += word.size();
        return true;
    }

    bool digits() {
        if (p_ == end_ || !IsDigit(*p_)) return false;
        while (p_ != end_ && IsDigit(*p_)) ++p_;
        return true;
    }

    bool number(std::optional<std::uint64_t>* member) {
        const char* start = p_;
        const bool negative = take('-');
        if (take('0')) {
            // a single zero: no digit may follow
        } else if (!digits()) {
            return false;
        }
        const char* integerEnd = p_;
        bool whole = true;
        if (take('.')) {
            whole = false;
            if (!digits()) return false;
        }
        if (p_ != end_ && (*p_ == 'e' || *p_ == 'E')) {
            whole = false;
            ++p_;
            if (p_ != end_ && (*p_ == '+' || *p_ == '-')) ++p_;
            if (!digits()) return false;
        }
        if (member == nullptr || negative || !whole) return true;
        // One too large for 64 bits is read as a fraction, not an integer.
        std::uint64_t n = 0;
        for (const char* d = start; d != integerEnd; ++d) {
            const auto digit = static_cast<std::uint64_t>(*d - '0');
            if (n > (UINT64_MAX - digit) / 10) return true;
            n = n * 10 + digit;
        }
        *member = n;
        return true;
    }

    // A string, its escapes decoded into `out` when given. Control
    // characters, broken escapes, lone surrogates and bytes that are not
    // UTF-8 are refused.
    bool string(std::string* out) {
        ++p_;
        for (;;) {
            if (p_ == end_) return false;
            const auto c = static_cast<unsigned char>(*p_);
            if (c == '"') {
                ++p_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                if (!escape(out)) return false;
            } else if (c < 0x80) {
                // The plain characters up to the next special one, at once.
                const char* run = p_;
                while (p_ != end_ && static_cast<unsigned char>(*p_) >= 0x20 &&
                       static_cast<unsigned char>(*p_) < 0x80 && *p_ != '"' && *p_ != '\\')
                    ++p_;
                if (out != nullptr) out->append(run, p_);
            } else if (!utf8(out)) {
                return false;
            }
        }
    }

    bool escape(std::string* out) {
        ++p_;
        if (p_ == end_) return false;
        char decoded;
        switch (*p_) {
        case '"': decoded = '"'; break;
        case '\\': decoded = '\\'; break;
        case '/': decoded = '/'; break;
        case 'b': decoded = '\b'; break;
        case 'f': decoded = '\f'; break;
        case 'n': decoded = '\n'; break;
        case 'r': decoded = '\r'; break;
        case 't': decoded = '\t'; break;
        case 'u': return unicodeEscape(out);
        default: return false;
        }
        if (out != nullptr) *out += decoded;
        ++p_;
        return true;
    }

    // `\uXXXX` after the backslash; a high surrogate must be followed by a
    // low one.
    bool unicodeEscape(std::string* out) {
        std::uint32_t code = 0;
        if (!codeUnit(code)) return false;
        if (code >= 0xDC00 && code <= 0xDFFF) return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!take('\\') || p_ == end_ || *p_ != 'u' || !codeUnit(low) || low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        if (out != nullptr) AppendUtf8(*out, code);
        return true;
    }

    // Reads 'u' and four hex digits.
    bool codeUnit(std::uint32_t& code) {
        ++p_;
        if (end_ - p_ < 4) return false;
        code = 0;
        for (int i = 0; i < 4; ++i, ++p_) {
            const int digit = HexValue(*p_);
            if (digit < 0) return false;
            code = code << 4 | static_cast<std::uint32_t>(digit);
        }
        return true;
    }

    // One UTF-8 sequence of two to four bytes, by RFC 3629's table.
    bool utf8(std::string* out) {
        const auto lead = static_cast<unsigned char>(*p_);
        unsigned char low = 0x80, high = 0xBF;  // the second byte's range
        int length;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (end_ - p_ < length) return false;
        for (int i = 1; i < length; ++i) {
            const auto c = static_cast<unsigned char>(p_[i]);
            if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF)) return false;
        }
        if (out != nullptr) out->append(p_, static_cast<std::size_t>(length));
        p_ += length;
        return true;
    }

    const char* p_;
    const char* end_;
};

}  // namespace

bool ReadJsonObjectLine(std::string_view line, JsonLineFacts& facts) {
    facts.names.clear();
    facts.pass.reset();
    facts.tick.reset();
    return Reader(line).line(facts);
}

}  // namespace soak
