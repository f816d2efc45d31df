// A music channel: replays one Module's four tracks, one output frame at a
// time, on the mixing thread.
#pragma once

#include <cstdint>

#include "sound/channel.h"

class Module;

class MusicChannel : public Channel {
public:
    MusicChannel();
    void setVolume(int v) override;
    void setPan(int separation) override;

    // Starts `module` from its first order (the per-channel part of
    // playModule). Called under the engine lock on a free channel.
    // `stepTable` is the engine's period-to-step table for `rate`.
    void startModule(const Module& module, const std::uint16_t* stepTable, std::uint32_t rate);

    // Advances the replay by one output frame and adds the four tracks into
    // the accumulators. Mixing thread, under the engine lock, only for a
    // channel that is neither stopped nor paused.
    void renderFrame(std::int32_t& left, std::int32_t& right, bool stereo);
};
