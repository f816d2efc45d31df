// A settings store that keeps its values in memory only: they are gone when
// the process ends, and saving keeps nothing. Main thread only.
#pragma once

#include "platform/settings_store.h"
#include "platform/settings_text.h"

namespace platform {

class NullSettingsStore : public SettingsStore {
public:
    void load() override {}
    std::optional<std::string> value(std::string_view name) const override { return values_.value(name); }
    void setValue(std::string_view name, std::string_view text, std::string_view note) override {
        values_.set(name, text, note);
    }
    bool save() override { return false; }

private:
    SettingsText values_;
};

}  // namespace platform
