// Any bytes as a module image, under both replay rules: the replay must read
// nothing outside the image, its tables or its samples, and every song must
// keep time. Each input renders at most two seconds a rule, a block at a
// time, so the fuzzer runs thousands of inputs a second.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sound/module.h"
#include "sound/music_channel.h"
#include "sound/replay_profile.h"

namespace {

constexpr std::uint32_t kSeconds = 2;
constexpr std::uint32_t kBlock = 512;

std::int64_t Render(const Module& module, std::uint32_t rate, const ReplayProfile& profile, bool stereo) {
    std::atomic<std::uint32_t> master{64};
    MusicChannel channel;
    channel.masterVolume = &master;
    channel.startModule(module, rate, profile);
    std::array<std::int32_t, kBlock> left{}, right{};
    std::int64_t sum = 0;
    for (std::uint32_t frames = 0; frames < kSeconds * rate && !channel.isStopped();) {
        left.fill(0);
        right.fill(0);
        const std::uint32_t rendered = channel.renderFrames(left.data(), right.data(), kBlock, stereo);
        if (rendered == 0) break;
        for (std::uint32_t i = 0; i < rendered; ++i) sum += left[i] + right[i];
        frames += rendered;
    }
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint32_t kClassicRates[3] = {11025, 22050, 44100};
    static constexpr std::uint32_t kAccurateRates[3] = {8000, 31337, 96000};
    const bool stereo = (size & 4) != 0;

    Module module;
    module.useImage(data, size);
    module.setLoop((size & 8) != 0);
    module.setSeparation(static_cast<int>(size & 0xFF));

    const Interpolation interpolation = (size & 16) != 0 ? Interpolation::linear : Interpolation::none;
    std::int64_t sum = Render(module, kClassicRates[size % 3], {ReplayRules::classic, Interpolation::none}, stereo);
    sum += Render(module, kAccurateRates[size / 3 % 3], {ReplayRules::accurate, interpolation}, stereo);
    return sum == 1 ? 0 : 0;
}
