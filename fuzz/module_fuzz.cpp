// Any bytes as a module image, under both replay rules: the replay must read
// nothing outside the image, its tables or its samples, and every song must
// keep time. Each input plays a short while a rule at low rates (where steps
// are longest and most likely to overrun). Every tick runs, but only a short
// block in eight is mixed, the rest moving the song on unheard: the sequencer
// is cheap, mixing is not, and a sample read past its end is caught in any
// block that reaches it. The classic rules get a quarter of a second (at
// speed 0 they read a row every frame, some 2,700 rows), the accurate ones a
// second (fifty ticks at the default tempo, a hundred at the fastest).
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "sound/module.h"
#include "sound/music_channel.h"
#include "sound/replay_profile.h"

namespace {

constexpr std::uint32_t kMixedBlock = 256;
constexpr std::uint32_t kUnheardFrames = 7 * kMixedBlock;  // after each mixed block

void Render(const Module& module, std::uint32_t rate, std::uint32_t milliseconds, const ReplayProfile& profile,
            bool stereo) {
    std::atomic<std::uint32_t> master{64};
    MusicChannel channel;
    channel.masterVolume = &master;
    channel.startModule(module, rate, profile);
    // The mixer adds into these; they are cleared before every mixed block,
    // so that no sum grows without bound.
    std::array<std::int32_t, kMixedBlock> left, right;
    const std::uint64_t budget = std::uint64_t{rate} * milliseconds / 1000;
    for (std::uint64_t frames = 0; frames < budget && !channel.isStopped();) {
        std::memset(left.data(), 0, sizeof left);
        std::memset(right.data(), 0, sizeof right);
        const std::uint32_t mixed = channel.renderFrames(left.data(), right.data(), kMixedBlock, stereo);
        if (channel.isStopped()) break;
        const std::uint32_t unheard = channel.renderFrames(nullptr, nullptr, kUnheardFrames, stereo);
        if (mixed + unheard == 0) break;
        frames += mixed + unheard;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint32_t kAccurateRates[2] = {8000, 12345};
    const bool stereo = (size & 4) != 0;

    Module module;
    module.useImage(data, size);
    module.setLoop((size & 8) != 0);
    module.setSeparation(static_cast<int>(size & 0xFF));

    const Interpolation interpolation = (size & 16) != 0 ? Interpolation::linear : Interpolation::none;
    Render(module, 11025, 250, {ReplayRules::classic, Interpolation::none}, stereo);
    Render(module, kAccurateRates[size % 2], 1000, {ReplayRules::accurate, interpolation}, stereo);
    return 0;
}
