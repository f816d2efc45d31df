// Live play pulls the song straight from a SongPlayer on the device's own
// thread: each buffer is rendered when the device asks for it, so nothing is
// rendered ahead of the device and the end of the song is known to the frame.
#include "live_play.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/audio_out.h"
#include "song_info.h"
#include "sound/module_format.h"

namespace modplay {

namespace {

std::atomic<bool> stopRequested{false};

void OnStopSignal(int) { stopRequested = true; }

// The song as an audio source. Its last buffer is padded with silence, and
// silence follows it, so that the device never runs dry at the end.
class SongSource final : public platform::AudioSource {
public:
    SongSource(Module& module, const SongOptions& options, std::uint32_t bufferFrames)
        : player_(module, options), bufferFrames_(bufferFrames), frameBytes_(options.stereo ? 2 : 1) {
        buffer_.resize(static_cast<std::size_t>(bufferFrames_) * frameBytes_);
    }

    std::span<const std::uint8_t> nextBuffer() override {
        if (!holding_) {
            songFramesInBuffer_ = player_.render(buffer_.data(), bufferFrames_);
            std::fill(buffer_.begin() + songFramesInBuffer_ * frameBytes_, buffer_.end(), std::uint8_t{128});
            holding_ = true;
        }
        return buffer_;
    }

    void release() override {
        holding_ = false;
        framesHeard_ += songFramesInBuffer_;
        order_ = player_.order();
        row_ = player_.row();
        if (player_.finished()) songOut_ = true;
    }

    std::size_t readyCount() override { return 1; }
    void awaitRefill() override {}

    // The main thread's view: true once the device has taken the song's last frame.
    bool songOut() const { return songOut_; }
    std::uint64_t framesOut() const { return framesHeard_; }
    std::uint32_t order() const { return order_; }
    std::uint32_t row() const { return row_; }

private:
    // The device's thread alone.
    SongPlayer player_;
    std::uint32_t bufferFrames_;
    std::uint32_t frameBytes_;
    std::vector<std::uint8_t> buffer_;
    std::uint32_t songFramesInBuffer_ = 0;
    bool holding_ = false;
    // Read by the main thread.
    std::atomic<bool> songOut_{false};
    std::atomic<std::uint64_t> framesHeard_{0};
    std::atomic<std::uint32_t> order_{0}, row_{0};
};

void ShowProgress(const SongSource& source, std::uint32_t songLength, std::uint64_t total, std::uint32_t rate) {
    std::fprintf(stderr, "\rorder %3u/%u row %2u  %s / %s ", source.order(), songLength, source.row(),
                 FormatTime(source.framesOut(), rate).c_str(), FormatTime(total, rate).c_str());
}

}  // namespace

int PlayLive(Module& module, const SongOptions& songOptions, const std::string& name) {
    // The audio device takes 8-bit frames, whatever --bits asks of a render.
    SongOptions options = songOptions;
    options.bits = 8;
    const std::uint64_t total = SongFrames(module, options);
    SongHeader header;
    ReadSongHeader(module.data(), module.size(), header);

    // Before the device starts: a library that starts with it leaves a handler
    // that is already there in place.
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);

    platform::AudioOut& device = platform::ActiveAudioOut();
    const std::uint32_t bufferFrames = device.bufferFrames(options.rate, options.rate / 40);
    SongSource source(module, options, bufferFrames);
    const platform::AudioFormat format{options.rate, static_cast<std::uint16_t>(options.stereo ? 2 : 1)};
    if (!device.open(format, source)) {
        std::fprintf(stderr, "orbitfend-modplay: %s: no audio device to play on\n", name.c_str());
        return kNoAudioDevice;
    }
    device.resume();

    const bool onTerminal = isatty(STDERR_FILENO) != 0;
    const auto tick = std::chrono::milliseconds(20);
    int ticks = 0;
    while (!stopRequested && !source.songOut()) {
        if (onTerminal && ticks++ % 5 == 0) ShowProgress(source, header.songLength, total, options.rate);
        std::this_thread::sleep_for(tick);
    }
    if (!stopRequested) {
        // The device has taken the last frame; let its own buffer play out.
        const auto deviceBuffer = std::chrono::milliseconds(1000 * bufferFrames / options.rate + 1);
        std::this_thread::sleep_for(deviceBuffer + std::chrono::milliseconds(50));
    }
    device.close();
    if (onTerminal) {
        ShowProgress(source, header.songLength, total, options.rate);
        std::fprintf(stderr, "\n");
    }
    return 0;
}

}  // namespace modplay
