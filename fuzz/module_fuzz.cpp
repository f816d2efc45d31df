// Any bytes as a module image, under both replay rules: the replay must read
// nothing outside the image, its tables or its samples, and every song must
// keep time. Each input plays a few seconds a rule at low rates (where steps
// are longest and most likely to overrun): every tick runs, but only one
// block in four is mixed, the others moving the song on unheard. The classic
// rules get one second: at speed 0 they read a row every frame.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sound/module.h"
#include "sound/music_channel.h"
#include "sound/replay_profile.h"

namespace {

constexpr std::uint32_t kSkippedBlocks = 3;  // after each mixed one
constexpr std::uint32_t kBlock = 512;

std::int64_t Render(const Module& module, std::uint32_t rate, std::uint32_t seconds, const ReplayProfile& profile,
                    bool stereo) {
    std::atomic<std::uint32_t> master{64};
    MusicChannel channel;
    channel.masterVolume = &master;
    channel.startModule(module, rate, profile);
    std::array<std::int32_t, kBlock> left{}, right{};
    std::int64_t sum = 0;
    for (std::uint32_t frames = 0, block = 0; frames < seconds * rate && !channel.isStopped(); ++block) {
        const bool mixed = block % (kSkippedBlocks + 1) == 0;
        left.fill(0);
        right.fill(0);
        const std::uint32_t rendered = mixed ? channel.renderFrames(left.data(), right.data(), kBlock, stereo)
                                             : channel.renderFrames(nullptr, nullptr, kBlock, stereo);
        if (rendered == 0) break;
        for (std::uint32_t i = 0; mixed && i < rendered; ++i) sum += left[i] + right[i];
        frames += rendered;
    }
    return sum;
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
    std::int64_t sum = Render(module, 11025, 1, {ReplayRules::classic, Interpolation::none}, stereo);
    sum += Render(module, kAccurateRates[size % 2], 3, {ReplayRules::accurate, interpolation}, stereo);
    return sum == 1 ? 0 : 0;
}
