// STAND-IN: module loading arrives with the replay.
#include "sound/module.h"

Module::~Module() { release(); }
int Module::loadFile(const char*) { release(); return 0; }
int Module::loadResource(void*, std::uint32_t) { release(); return 0; }
void Module::release() {
    if (ownsData_ && data_ != nullptr) delete[] data_;
    if (ownsData_) data_ = nullptr;
    ownsData_ = false;
}
void Module::setVolume(int v) { volume_ = (v < 0 || v > 64) ? 64u : static_cast<std::uint32_t>(v); }
void Module::setSeparation(int s) { separation_ = (s < 0 || s > 255) ? 255u : static_cast<std::uint32_t>(s); }
