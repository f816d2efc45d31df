# Cross-compiling to WebAssembly (wasm32-wasi) with Debian's clang-14, lld-14,
# wasi-libc and libc++ for wasm32: no threads, no exception handling, no
# <filesystem>. Used by the `web` preset.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(ORBITFEND_WASM ON)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_AR llvm-ar-14 CACHE FILEPATH "")
set(CMAKE_RANLIB llvm-ranlib-14 CACHE FILEPATH "")
set(CMAKE_EXECUTABLE_SUFFIX .wasm)

# wasi-libc lives beside the host's own headers and libraries; look for
# target headers and libraries there only, and for programs on the host.
set(CMAKE_FIND_ROOT_PATH /usr/include/wasm32-wasi /usr/lib/wasm32-wasi)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
