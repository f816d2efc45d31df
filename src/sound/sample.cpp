// STAND-IN: the WAVE loaders arrive with the sound engine.
#include "sound/sample.h"

Sample::~Sample() { release(); }

int Sample::loadFile(const char*) {
    release();
    return 0;
}

int Sample::loadResource(void*, std::uint32_t) {
    release();
    return 0;
}

void Sample::release() {
    if (ownsData_ && data_ != nullptr) {
        delete[] data_;
        data_ = nullptr;
        ownsData_ = false;
    }
}

void Sample::setVolume(int v) { volume_ = (v < 0 || v > 64) ? 64u : static_cast<std::uint32_t>(v); }
void Sample::setPan(int p) { pan_ = (p < 0 || p > 255) ? 255u : static_cast<std::uint32_t>(p); }
