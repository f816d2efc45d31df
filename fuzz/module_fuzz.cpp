// Any bytes as a module image: the replay must read nothing outside the
// image, its tables or its samples, and every song must keep time.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sound/module.h"
#include "sound/music_channel.h"
#include "sound/period_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint32_t kRates[3] = {11025, 22050, 44100};
    const std::uint32_t rate = kRates[size % 3];
    const bool stereo = (size & 4) != 0;

    Module module;
    module.useImage(data, size);
    module.setLoop((size & 8) != 0);
    module.setSeparation(static_cast<int>(size & 0xFF));

    std::atomic<std::uint32_t> master{64};
    MusicChannel channel;
    channel.masterVolume = &master;
    channel.startModule(module, StepTableFor(rate), rate);

    // Three seconds, or until the song ends.
    std::int64_t sum = 0;
    for (std::uint32_t frame = 0; frame < 3 * rate && !channel.isStopped(); ++frame) {
        std::int32_t left = 0, right = 0;
        channel.renderFrame(left, right, stereo);
        sum += left + right;
    }
    return sum == 1 ? 0 : 0;
}
