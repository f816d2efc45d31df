// Live play runs the game's own sound engine: a SoundSystem started on the
// desktop's audio device, the module on its music channel, the position read
// back from that channel for a one-line display.
#include "live_play.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "platform/sdl/sdl_wave_out.h"
#include "platform/wave_out.h"
#include "song_info.h"
#include "sound/music_channel.h"
#include "sound/sound_system.h"

namespace modplay {

namespace {

std::atomic<bool> interrupted{false};

void OnInterrupt(int) { interrupted = true; }

}  // namespace

int PlayLive(Module& module, const SongOptions& options, const std::string& name) {
    // The engine plays the classic rules, 8-bit.
    SongOptions classic = options;
    classic.profile = {};
    const std::uint64_t total = SongFrames(module, classic);
    module.setLoop(options.extraPasses > 0);
    module.setVolume(options.volume);
    module.setSeparation(options.separation);

    platform::SetWaveDevice(platform::sdl::SdlWaveDevice());
    SoundSystem engine;
    if (engine.start(options.rate, 1, 8, options.stereo ? 1 : 0) == 0) {
        std::fprintf(stderr, "orbitfend-modplay: %s: cannot open the audio device\n", name.c_str());
        return 1;
    }
    engine.setMusicVolume(64);
    const std::uint32_t handle = engine.playModule(module);
    auto* channel = static_cast<MusicChannel*>(engine.channelAt(handle));

    std::signal(SIGINT, OnInterrupt);
    const auto begun = std::chrono::steady_clock::now();
    while (!interrupted && channel != nullptr && !channel->isStopped() &&
           channel->completedPasses() <= options.extraPasses) {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begun);
        std::fprintf(
            stderr, "\rorder %3u/%u row %2u  %s / %s ", channel->order(), channel->songLength(), channel->row(),
            FormatTime(static_cast<std::uint64_t>(elapsed.count()) * options.rate / 1000, options.rate).c_str(),
            FormatTime(total, options.rate).c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::fprintf(stderr, "\n");
    engine.stopAllMusic();
    engine.shutdown();
    return 0;
}

}  // namespace modplay
