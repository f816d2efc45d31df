// The desktop family: one running copy, the program's window with its title
// and icon. Full screen is the player's choice, made in the window itself.
// Main thread only.
#pragma once

#include <cstdint>

namespace platform {

// What the program tells its desktop after each pass.
struct PassReport {
    std::int32_t volume = 0;      // the sample volume, 0..maxVolume
    std::int32_t maxVolume = 64;  // the sample volume at its loudest
    bool onTitle = false;         // the title screen shows
};

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
    // Desktop: called after every pass of the main loop. A desktop may show
    // what it learns around or over the picture, but never in the frame
    // buffer: the game's pictures stay as the game drew them. Does nothing
    // unless a desktop overrides it.
    virtual void passEnded(const PassReport& report) { (void)report; }
};

void SetActiveDesktop(Desktop* desktop);  // null: the null desktop
Desktop& ActiveDesktop();

// The full path of the running executable, or an empty string. Any thread.
const char* ExecutablePath();

}  // namespace platform
