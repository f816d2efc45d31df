// The registry calls over this user's settings store.
#include "platform/registry.h"

#include <algorithm>
#include <string>

#include "platform/settings_store.h"

namespace platform {

struct RegistryKey {
    std::string path;  // below HKEY_CURRENT_USER; empty for the root itself
    bool changed = false;
};

namespace {

RegistryKey* openKey(HKEY key) { return key == nullptr || key == HKEY_CURRENT_USER ? nullptr : key; }

SettingsKey& valuesOf(const RegistryKey& key) { return TheSettingsStore().keys()[key.path]; }

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

    SettingsTree& keys = TheSettingsStore().keys();
    const bool created = !path.empty() && keys.find(path) == keys.end();
    if (created) keys[path];
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = new RegistryKey{path, created};
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, const char* name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
    const RegistryKey* open = openKey(key);
    if (open == nullptr) return ERROR_INVALID_HANDLE;
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    const SettingsTree& keys = TheSettingsStore().keys();
    const auto values = keys.find(open->path);
    if (values == keys.end()) return ERROR_FILE_NOT_FOUND;
    const auto found = values->second.find(name == nullptr ? "" : name);
    if (found == values->second.end()) return ERROR_FILE_NOT_FOUND;
    const SettingsValue& value = found->second;
    if (type != nullptr) *type = value.type;
    const DWORD needed = static_cast<DWORD>(value.bytes.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) std::copy(value.bytes.begin(), value.bytes.end(), data);
    if (size != nullptr) *size = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY key, const char* name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    RegistryKey* open = openKey(key);
    if (open == nullptr) return ERROR_INVALID_HANDLE;
    if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
    SettingsValue& value = valuesOf(*open)[name == nullptr ? "" : name];
    value.type = type;
    value.bytes.assign(data, data + size);
    open->changed = true;
    return ERROR_SUCCESS;
}

LONG RegDeleteValue(HKEY key, const char* name) {
    RegistryKey* open = openKey(key);
    if (open == nullptr) return ERROR_INVALID_HANDLE;
    if (valuesOf(*open).erase(name == nullptr ? "" : name) == 0) return ERROR_FILE_NOT_FOUND;
    open->changed = true;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    RegistryKey* open = openKey(key);
    if (open == nullptr) return ERROR_INVALID_HANDLE;
    const bool saved = !open->changed || TheSettingsStore().save();
    delete open;
    return saved ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

}  // namespace platform
