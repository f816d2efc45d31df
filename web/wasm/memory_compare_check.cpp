// A WASI command that holds the module's memcmp to the C standard's word: the
// sign of the first differing pair of bytes, read as unsigned char, or 0.
// Every length up to a few blocks, every alignment in a block, the two sides
// aligned alike and not, a difference at every place (and none), either way
// round. Exits 1 at the first wrong
// answer, naming it; web/tests/memory_compare.test.mjs runs it.
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

// Through a pointer the compiler cannot see through, so that the call is
// really made and not worked out at compile time.
int (*volatile compare)(const void*, const void*, std::size_t) = std::memcmp;

int sign(int value) { return (value > 0) - (value < 0); }

int expected(const unsigned char* a, const unsigned char* b, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

}  // namespace

int main() {
    constexpr std::size_t kLongest = 200;
    alignas(16) static unsigned char left[kLongest + 16];
    alignas(16) static unsigned char right[kLongest + 32];
    for (std::size_t i = 0; i < sizeof left; ++i) left[i] = static_cast<unsigned char>(i * 7 + 1);
    int checks = 0;
    // The two sides at the same alignment in a block, and at different ones.
    for (const std::size_t skew : {0, 5}) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            unsigned char* a = left + offset;
            unsigned char* b = right + offset + skew;
            std::memcpy(b, a, kLongest);
            for (std::size_t length = 0; length <= kLongest; ++length) {
                // -1: no difference; otherwise the place of the only one.
                for (long place = -1; place < static_cast<long>(length); ++place) {
                    // A byte above 127 against one below: the bytes compare unsigned.
                    const unsigned char kept = place >= 0 ? b[place] : 0;
                    if (place >= 0) b[place] = static_cast<unsigned char>(a[place] ^ 0x80);
                    for (const bool swapped : {false, true}) {
                        const unsigned char* x = swapped ? b : a;
                        const unsigned char* y = swapped ? a : b;
                        const int got = sign(compare(x, y, length));
                        ++checks;
                        if (got != expected(x, y, length)) {
                            std::printf("memcmp wrong: offset %zu, skew %zu, length %zu, difference at %ld, got %d\n",
                                        offset, skew, length, place, got);
                            return 1;
                        }
                    }
                    if (place >= 0) b[place] = kept;
                }
            }
        }
    }
    std::printf("memcmp: %d comparisons right\n", checks);
    return 0;
}
