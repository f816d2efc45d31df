// Plays a module image on a lone MusicChannel, frame by frame, without the
// engine: the replay's tests drive it directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "sound/module.h"
#include "sound/music_channel.h"
#include "sound/period_tables.h"

namespace modtest {

struct Frame {
    std::int32_t left = 0;
    std::int32_t right = 0;
};

class Replay {
public:
    struct Options {
        std::uint32_t rate = 22050;
        bool loop = false;
        int separation = 255;
        int volume = 64;
    };

    explicit Replay(std::vector<std::uint8_t> image) : Replay(std::move(image), Options{}) {}
    Replay(std::vector<std::uint8_t> image, Options options) : image_(std::move(image)), options_(options) {
        module.useImage(image_.data(), image_.size());
        module.setLoop(options.loop);
        module.setSeparation(options.separation);
        module.setVolume(options.volume);
        channel.masterVolume = &master;
        channel.startModule(module, StepTableFor(options.rate), options.rate);
    }

    Frame frame(bool stereo = false) {
        Frame out;
        if (!channel.isStopped()) channel.renderFrame(out.left, out.right, stereo);
        return out;
    }
    void frames(std::uint64_t count) {
        for (std::uint64_t i = 0; i < count; ++i) frame();
    }
    // Renders until the channel reads a row other than the current one (or
    // stops, or a minute has passed); the frames that took, including the
    // reading one.
    std::uint64_t framesToNextRow() {
        const std::uint32_t order = channel.order(), row = channel.row();
        std::uint64_t count = 0;
        do {
            frame();
            ++count;
        } while (!channel.isStopped() && channel.order() == order && channel.row() == row &&
                 count < 60 * options_.rate);
        return count;
    }
    // Renders until the channel stops, at most `limit` frames; the frames rendered.
    std::uint64_t framesToEnd(std::uint64_t limit) {
        std::uint64_t count = 0;
        while (!channel.isStopped() && count < limit) {
            frame();
            ++count;
        }
        return count;
    }
    std::uint32_t step(std::uint32_t track) const { return channel.track(track).step; }
    std::uint32_t stepOf(std::uint32_t period) const { return StepTableFor(options_.rate)[period]; }
    std::uint32_t ticks() const { return channel.samplesPerTick() + 1; }

    std::atomic<std::uint32_t> master{64};
    Module module;
    MusicChannel channel;

private:
    std::vector<std::uint8_t> image_;
    Options options_;
};

}  // namespace modtest
