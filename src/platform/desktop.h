// The desktop family: one running copy, the program's window with its title
// and icon. Full screen is the player's choice, made in the window itself.
// Main thread only.
#pragma once

#include <cstdint>

namespace platform {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Brings an already running copy named `name` to the front; true when
    // there was one (this copy then ends).
    virtual bool activateRunningCopy(const char* name) = 0;
    // Makes the program's window, hidden, titled `title`, with the icon
    // resource `iconId`. False when no window can be made.
    virtual bool openWindow(const char* title, std::uint32_t iconId) = 0;
    virtual void showWindow() = 0;
};

void SetActiveDesktop(Desktop* desktop);  // null: the null desktop
Desktop& ActiveDesktop();

}  // namespace platform
