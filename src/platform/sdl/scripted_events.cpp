#include "platform/sdl/scripted_events.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/clock.h"

namespace platform::sdl {

namespace {

bool parseLine(const std::string& line, std::uint32_t& tick, SDL_Event& event) {
    std::istringstream words(line);
    std::string what;
    if (!(words >> tick >> what)) return false;
    event = {};
    if (what == "down" || what == "up") {
        std::string name;
        std::getline(words >> std::ws, name);
        const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
        if (key == SDLK_UNKNOWN) return false;
        event.type = what == "down" ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = what == "down" ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        return true;
    }
    if (what == "quit") {
        event.type = SDL_QUIT;
        return true;
    }
    if (what == "focus-lost" || what == "focus-gained") {
        event.type = SDL_WINDOWEVENT;
        event.window.event = what == "focus-lost" ? SDL_WINDOWEVENT_FOCUS_LOST : SDL_WINDOWEVENT_FOCUS_GAINED;
        return true;
    }
    return false;
}

}  // namespace

bool ScriptedEvents::load(std::string& error) {
    const char* path = std::getenv("ORBITFEND_TEST_SDL_EVENTS");
    if (path == nullptr || *path == '\0') return true;
    std::ifstream file(path);
    if (!file) {
        error = std::string("cannot read the event script ") + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line.empty() || line.front() == '#') continue;
        Scripted scripted{};
        if (!parseLine(line, scripted.tick, scripted.event)) {
            error = std::string(path) + ": line " + std::to_string(number) + ": not a scripted event";
            return false;
        }
        events_.push_back(scripted);
    }
    return true;
}

void ScriptedEvents::pushDue(std::uint32_t now) {
    while (next_ < events_.size() && TickReached(now, events_[next_].tick)) SDL_PushEvent(&events_[next_++].event);
}

}  // namespace platform::sdl
