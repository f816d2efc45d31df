// Live play runs the game's own sound engine: a SoundSystem started on the
// desktop's audio device, the module on its music channel, the position read
// back from that channel for a one-line display.
#include "live_play.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "platform/backend.h"
#include "platform/sdl/sdl_wave_out.h"
#include "song_info.h"
#include "sound/music_channel.h"
#include "sound/sound_system.h"

namespace modplay {

namespace {

std::atomic<bool> interrupted{false};

void OnInterrupt(int) { interrupted = true; }

// Nothing of a backend but its audio device: the player has no window.
class AudioOnlyBackend final : public platform::Backend {
public:
    bool open(std::string&) override { return true; }
    std::uint32_t tickCount() override {
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
                .count());
    }
    void sleep(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    std::int16_t keyState(int) override { return 0; }
    void waitForInput(std::uint32_t) override {}
    bool findRunningInstance(const char*, const char*) override { return false; }
    bool createWindow(const char*, std::uint32_t) override { return false; }
    void* beginDraw() override { return nullptr; }
    int endDraw() override { return 0; }
    platform::WaveDevice* waveDevice() override { return platform::sdl::SdlWaveDevice(); }
};

}  // namespace

int PlayLive(Module& module, const SongOptions& options, const std::string& name) {
    const std::uint64_t total = SongFrames(module, options.rate) * (options.extraPasses + 1);
    module.setLoop(options.extraPasses > 0);
    module.setVolume(options.volume);
    module.setSeparation(options.separation);

    AudioOnlyBackend backend;
    platform::SetBackend(&backend);
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
