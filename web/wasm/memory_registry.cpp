// The registry calls over memory alone, for the WebAssembly build, whose
// libc++ has no <filesystem> for the settings file: settings last as long as
// the run, as in a headless run without --settings.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform {

struct RegistryKey {
    std::string path;  // below HKEY_CURRENT_USER
};

namespace {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};
using Values = std::map<std::string, Value>;

std::map<std::string, Values>& keys() {
    static std::map<std::string, Values> tree;
    return tree;
}

RegistryKey* openKey(HKEY key) { return key == nullptr || key == HKEY_CURRENT_USER ? nullptr : key; }

}  // namespace

LONG RegCreateKeyEx(HKEY parent, const char* subKey, DWORD, const char*, DWORD, DWORD, void*, HKEY* result,
                    DWORD* disposition) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::string path;
    if (parent != HKEY_CURRENT_USER) {
        const RegistryKey* open = openKey(parent);
        if (open == nullptr) return ERROR_INVALID_HANDLE;
        path = open->path;
    }
    const std::string below = subKey == nullptr ? "" : subKey;
    if (!below.empty()) path = path.empty() ? below : path + "\\" + below;
    const bool created = !path.empty() && keys().find(path) == keys().end();
    if (created) keys()[path];
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = new RegistryKey{path};
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, const char* name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
    const RegistryKey* open = openKey(key);
    if (open == nullptr) return ERROR_INVALID_HANDLE;
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    const auto values = keys().find(open->path);
    if (values == keys().end()) return ERROR_FILE_NOT_FOUND;
    const auto found = values->second.find(name == nullptr ? "" : name);
    if (found == values->second.end()) return ERROR_FILE_NOT_FOUND;
    if (type != nullptr) *type = found->second.type;
    const DWORD needed = static_cast<DWORD>(found->second.bytes.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) std::copy(found->second.bytes.begin(), found->second.bytes.end(), data);
    if (size != nullptr) *size = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY key, const char* name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    const RegistryKey* open = openKey(key);
    if (open == nullptr) return ERROR_INVALID_HANDLE;
    if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
    Value& value = keys()[open->path][name == nullptr ? "" : name];
    value.type = type;
    value.bytes.assign(data, data + size);
    return ERROR_SUCCESS;
}

LONG RegDeleteValue(HKEY key, const char* name) {
    const RegistryKey* open = openKey(key);
    if (open == nullptr) return ERROR_INVALID_HANDLE;
    return keys()[open->path].erase(name == nullptr ? "" : name) == 0 ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    RegistryKey* open = openKey(key);
    if (open == nullptr) return ERROR_INVALID_HANDLE;
    delete open;
    return ERROR_SUCCESS;
}

}  // namespace platform
