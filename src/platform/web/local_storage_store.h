// The settings store of the page: each value under its own key in the page's
// localStorage, through the two functions the page gives the module. The page
// checks what it stores and gives back nothing for a value that is not fit
// to use, so the game takes its default. Main thread only.
#pragma once

#include "platform/settings_store.h"

namespace platform::web {

class LocalStorageStore final : public MemorySettingsStore {
public:
    void load() override;
    bool save() override;
};

}  // namespace platform::web
