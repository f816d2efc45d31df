// Plays a module image on a lone MusicChannel, frame by frame (classic rules)
// or a block at a time (either rules), without the engine: the replay's tests
// drive it directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "sound/module.h"
#include "sound/music_channel.h"
#include "sound/replay_profile.h"

namespace modwrite {

struct Frame {
    std::int32_t left = 0;
    std::int32_t right = 0;
    friend bool operator==(const Frame&, const Frame&) = default;
};

// What an effect's test looks at on track 0: its period, its step, the
// volume set, the volume heard, or whether the next frame sounds (1) or not (0).
enum class Probe { period, step, volume, effective, sounding };

// A look at track 0 once `tick` ticks of the song have begun.
struct Check {
    std::uint64_t tick;
    Probe probe;
    std::uint64_t expected;
};

class Replay {
public:
    struct Options {
        std::uint32_t rate = 22050;
        bool loop = false;
        int separation = 255;
        int volume = 64;
        ReplayProfile profile{};
    };

    explicit Replay(std::vector<std::uint8_t> image) : Replay(std::move(image), Options{}) {}
    Replay(std::vector<std::uint8_t> image, Options options) : image_(std::move(image)), options_(options) {
        module.useImage(image_.data(), image_.size());
        module.setLoop(options.loop);
        module.setSeparation(options.separation);
        module.setVolume(options.volume);
        channel.masterVolume = &master;
        channel.startModule(module, options.rate, options.profile);
    }

    Frame frame(bool stereo = false) {
        Frame out;
        if (!channel.isStopped()) channel.renderFrame(out.left, out.right, stereo);
        return out;
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
    // The next `count` frames through the block render, which both rules
    // have; fewer if the song ends (the frame that finds the end is not one).
    std::vector<Frame> render(std::uint32_t count, bool stereo = false) {
        std::vector<std::int32_t> left(count), right(count);
        std::uint32_t done = 0;
        while (done < count && !channel.isStopped()) {
            const std::uint32_t rendered =
                channel.renderFrames(left.data() + done, right.data() + done, count - done, stereo);
            if (rendered == 0) break;
            done += rendered;
        }
        std::vector<Frame> frames(done);
        for (std::uint32_t i = 0; i < done; ++i) frames[i] = {left[i], right[i]};
        return frames;
    }
    std::uint64_t step(std::uint32_t track) const { return channel.track(track).step; }
    std::uint64_t probe(Probe probe) {
        const MusicChannel::Track& track = channel.track(0);
        switch (probe) {
        case Probe::period: return track.period;
        case Probe::step: return track.step;
        case Probe::volume: return track.trackVolume;
        case Probe::effective: return track.trackEffective;
        case Probe::sounding: return render(1).at(0).left != 0;
        }
        return 0;
    }

    std::atomic<std::uint32_t> master{64};
    Module module;
    MusicChannel channel;

private:
    std::vector<std::uint8_t> image_;
    Options options_;
};

}  // namespace modwrite
