// memcmp sixteen bytes at a time. wasi-libc's memcmp compares byte by byte,
// and every presented frame is compared whole with the one on the screen
// (77 440 bytes), which made it the WebAssembly build's costliest call.
// Linked into each module ahead of libc, so it stands in for libc's memcmp
// (and for bcmp, which calls memcmp) everywhere in the module.
#include <wasm_simd128.h>

#include <cstddef>

extern "C" int memcmp(const void* left, const void* right, std::size_t length) {
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    // Four blocks at a time while they are equal, then single blocks; the
    // byte loop finds the first difference within the blocks that have one,
    // and ends the tail.
    while (length >= 64) {
        const v128_t differences =
            wasm_v128_or(wasm_v128_or(wasm_v128_xor(wasm_v128_load(a), wasm_v128_load(b)),
                                      wasm_v128_xor(wasm_v128_load(a + 16), wasm_v128_load(b + 16))),
                         wasm_v128_or(wasm_v128_xor(wasm_v128_load(a + 32), wasm_v128_load(b + 32)),
                                      wasm_v128_xor(wasm_v128_load(a + 48), wasm_v128_load(b + 48))));
        if (wasm_v128_any_true(differences)) break;
        a += 64;
        b += 64;
        length -= 64;
    }
    while (length >= 16 && !wasm_v128_any_true(wasm_v128_xor(wasm_v128_load(a), wasm_v128_load(b)))) {
        a += 16;
        b += 16;
        length -= 16;
    }
    for (; length != 0; ++a, ++b, --length) {
        if (*a != *b) return *a - *b;
    }
    return 0;
}
