// The settings store of the page: each value under its own key in the page's
// localStorage, through the two functions the page gives the module. The page
// checks what it stores and gives back nothing for a value that is not fit
// to use, so the game takes its default. Main thread only.
#pragma once

#include <map>
#include <string>

#include "platform/settings_store.h"

namespace platform::web {

class LocalStorageStore final : public SettingsStore {
public:
    void load() override;
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, std::string_view text, std::string_view note) override;
    bool save() override;

private:
    std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace platform::web
