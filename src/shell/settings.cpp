#include "shell/settings.h"

#include <vector>

#include "game/game_state.h"
#include "platform/registry.h"

using namespace platform;

namespace {

constexpr const char* kProgramKey = "Software\\quelm\\orbitfend";
constexpr const char* kKeypressKey = "ControlPanel\\Sounds\\Keypress";
constexpr DWORD kSilentScriptBytes = 30;

// One of the user's key-press values as found at start, kept whole so that it
// can be given back exactly.
struct BorrowedValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

BorrowedValue savedBeepMode;
BorrowedValue savedScript;
bool keypressBorrowed = false;
bool settingsSaved = false;

HKEY openOrCreate(const char* path) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// FIX: a key-press value is kept whole, whatever its length: a "Script" longer
// than 30 bytes is given back exactly, not cut short.
BorrowedValue borrow(HKEY key, const char* name) {
    BorrowedValue value;
    DWORD size = 0;
    if (RegQueryValueEx(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return value;
    value.bytes.resize(size);
    if (RegQueryValueEx(key, name, nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS) return {};
    value.bytes.resize(size);
    value.present = true;
    return value;
}

void giveBack(HKEY key, const char* name, const BorrowedValue& value) {
    if (value.present)
        RegSetValueEx(key, name, 0, value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size()));
    else
        RegDeleteValue(key, name);  // FIX: a key-press value that did not exist at start is removed, not left silent.
}

// FIX: a value of another type or size than a 4-byte REG_DWORD counts as absent
// and leaves `destination` at its default.
void readDword(HKEY key, const char* name, std::int32_t& destination) {
    DWORD type = 0;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueEx(key, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS) return;
    if (type != REG_DWORD || size != sizeof bytes) return;
    destination = static_cast<std::int32_t>(DWORD{bytes[0]} | DWORD{bytes[1]} << 8 | DWORD{bytes[2]} << 16 |
                                            DWORD{bytes[3]} << 24);
}

void writeDword(HKEY key, const char* name, std::int32_t value) {
    const auto v = static_cast<DWORD>(value);
    const BYTE bytes[4] = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                           static_cast<BYTE>(v >> 24)};
    RegSetValueEx(key, name, 0, REG_DWORD, bytes, sizeof bytes);
}

}  // namespace

void LoadSettings() {
    if (HKEY key = openOrCreate(kKeypressKey)) {
        savedBeepMode = borrow(key, "BeepMode");
        savedScript = borrow(key, "Script");
        keypressBorrowed = true;
        RegCloseKey(key);
    }
    if (HKEY key = openOrCreate(kKeypressKey)) {
        writeDword(key, "BeepMode", 0);
        const BYTE silentScript[kSilentScriptBytes] = {};
        RegSetValueEx(key, "Script", 0, REG_SZ, silentScript, kSilentScriptBytes);
        RegCloseKey(key);
    }
    HKEY key = openOrCreate(kProgramKey);
    if (key == nullptr) return;
    readDword(key, "HiScore", gameState.highScore);
    readDword(key, "Sound", gameState.volume);
    RegCloseKey(key);
}

void SaveSettings() {
    // FIX: every way out saves, so two that coincide (a lost activation and a
    // close request) would save twice; the first one does it.
    if (settingsSaved) return;
    settingsSaved = true;
    if (HKEY key = openOrCreate(kProgramKey)) {
        writeDword(key, "HiScore", gameState.highScore);
        writeDword(key, "Sound", gameState.volume);
        RegCloseKey(key);
    }
    // FIX: key-press values that could not be read at start are left as they
    // are, not overwritten with copies that hold nothing.
    if (!keypressBorrowed) return;
    HKEY key = openOrCreate(kKeypressKey);
    if (key == nullptr) return;
    giveBack(key, "BeepMode", savedBeepMode);
    giveBack(key, "Script", savedScript);
    RegCloseKey(key);
}
