// The registry: named keys under HKEY_CURRENT_USER holding typed values,
// reached through the calls the program was written against. Underneath is
// this user's settings store (settings_store.h): a file, or memory alone.
//
// Key paths and value names are plain strings matched exactly, with '\' between
// the parts of a path. Values are byte strings with a type; REG_DWORD is 4 bytes,
// least significant first, and REG_SZ is UTF-16 code units, least significant
// byte first, ending in a zero unit.
//
// Changes made through a key handle reach the store's file when the handle is
// closed (RegCloseKey), in one atomic write. Main thread only.
#pragma once

#include <cstdint>

namespace platform {

using DWORD = std::uint32_t;
using LONG = std::int32_t;
using BYTE = std::uint8_t;

struct RegistryKey;
using HKEY = RegistryKey*;

// The one predefined root: this user's keys.
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_WRITE_FAULT = 29;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;

// Opens `subKey` below `parent` (HKEY_CURRENT_USER or an open key), creating it
// when missing; an empty or null `subKey` opens `parent` again. `reserved`,
// `className`, `options`, `access` and `security` are accepted and unused.
// `disposition`, when given, says whether the key was created or opened.
LONG RegCreateKeyEx(HKEY parent, const char* subKey, DWORD reserved, const char* className, DWORD options, DWORD access,
                    void* security, HKEY* result, DWORD* disposition);

// Reads value `name` of `key`. `type`, when given, receives its type. With a
// null `data`, `*size` receives the value's size. Otherwise `*size` is the
// buffer's size in bytes: a value that does not fit copies nothing and returns
// ERROR_MORE_DATA with its size in `*size`; one that fits is copied and its
// size left in `*size`. A missing value returns ERROR_FILE_NOT_FOUND.
LONG RegQueryValueEx(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);

// Sets value `name` of `key` to `size` bytes of `data` with the given type.
LONG RegSetValueEx(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);

// Removes value `name` of `key`; ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegDeleteValue(HKEY key, const char* name);

// Closes a handle from RegCreateKeyEx, first writing its changes to the store's
// file; ERROR_WRITE_FAULT when that write failed (the change stays in memory).
LONG RegCloseKey(HKEY key);

}  // namespace platform
