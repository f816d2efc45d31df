// The WebAssembly build has no exception handling: a throw ends the program
// with a message. Nothing the game does throws; the library calls that can
// (parsing numbers, allocating) do so only on input the program never gives.
#include <cstddef>
#include <cstdio>
#include <cstdlib>

extern "C" {

void* __cxa_allocate_exception(std::size_t size) noexcept { return std::malloc(size); }

[[noreturn]] void __cxa_throw(void*, void*, void (*)(void*)) {
    std::fputs("orbitfend: an exception was thrown in a build that cannot catch it\n", stderr);
    std::abort();
}
}
