// The headless sound device. Its play cursor runs at exactly `rate` frames
// per virtual second while it plays; buffers play back to back, and each one
// is handed back on the first tick at or after its last frame. The main
// thread then waits, inside the clock, until the mixing thread has written
// that buffer again, so the sound depends on the virtual clock alone and the
// same run gives the same bytes every time.
#include "platform/headless/headless_wave_out.h"

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/headless/headless_clock.h"
#include "platform/options.h"

namespace platform::headless {

namespace {

// A RIFF WAVE file of 8-bit PCM, its sizes filled in when it is closed.
class WavCapture {
public:
    bool open(const std::string& path, const WAVEFORMATEX& format) {
        file_ = std::fopen(path.c_str(), "wb");
        if (file_ == nullptr) {
            std::fprintf(stderr, "orbitfend: cannot write the sound capture %s\n", path.c_str());
            return false;
        }
        dataBytes_ = 0;
        writeHeader(format);
        format_ = format;
        return true;
    }
    void write(const std::uint8_t* bytes, std::size_t count) {
        if (file_ == nullptr) return;
        std::fwrite(bytes, 1, count, file_);
        dataBytes_ += count;
    }
    void writeSilence(std::uint64_t count) {
        std::uint8_t silence[256];
        std::memset(silence, 128, sizeof silence);
        while (count > 0) {
            const std::size_t part = count < sizeof silence ? static_cast<std::size_t>(count) : sizeof silence;
            write(silence, part);
            count -= part;
        }
    }
    void close() {
        if (file_ == nullptr) return;
        std::fseek(file_, 0, SEEK_SET);
        writeHeader(format_);
        std::fclose(file_);
        file_ = nullptr;
    }

private:
    void put16(std::uint16_t v) {
        std::fputc(v & 0xFF, file_);
        std::fputc(v >> 8, file_);
    }
    void put32(std::uint32_t v) {
        put16(static_cast<std::uint16_t>(v));
        put16(static_cast<std::uint16_t>(v >> 16));
    }
    void writeHeader(const WAVEFORMATEX& f) {
        const std::uint32_t data = static_cast<std::uint32_t>(dataBytes_);
        std::fwrite("RIFF", 1, 4, file_);
        put32(36 + data);
        std::fwrite("WAVEfmt ", 1, 8, file_);
        put32(16);
        put16(WAVE_FORMAT_PCM);
        put16(f.nChannels);
        put32(f.nSamplesPerSec);
        put32(f.nSamplesPerSec * f.nChannels);
        put16(f.nChannels);
        put16(8);
        std::fwrite("data", 1, 4, file_);
        put32(data);
    }

    std::FILE* file_ = nullptr;
    std::uint64_t dataBytes_ = 0;
    WAVEFORMATEX format_;
};

struct QueuedBuffer {
    WAVEHDR* header = nullptr;
    std::uint64_t startFrame = 0;
    std::uint64_t frames = 0;
};

class ClockedWaveDevice final : public WaveDevice, public ClockListener {
public:
    std::uint32_t deviceCount() override { return CurrentOptions().noSound ? 0 : 1; }

    MMRESULT open(const WAVEFORMATEX& format, ThreadMessageQueue* callback) override {
        std::lock_guard<std::mutex> hold(mutex_);
        if (open_) return MMSYSERR_ERROR;
        const std::string& path = CurrentOptions().wavPath;
        if (!path.empty() && !capture_.open(path, format)) return MMSYSERR_ERROR;
        open_ = true;
        playing_ = true;
        callback_ = callback;
        rate_ = format.nSamplesPerSec;
        frameBytes_ = format.nChannels;
        now_ = runStartTick_ = Now();
        framesBeforeRun_ = 0;
        queueEnd_ = 0;
        capturedFrames_ = 0;
        head_ = count_ = 0;
        AddClockListener(this);
        return MMSYSERR_NOERROR;
    }

    // The mixing thread writes only while the main thread waits in reached(),
    // and the main thread only at start-up, so `now_` is the tick of the write.
    MMRESULT write(WAVEHDR* header) override {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            if (!open_ || count_ == kQueueCapacity) return MMSYSERR_ERROR;
            const std::uint64_t cursor = cursorAt(now_);
            QueuedBuffer& slot = queue_[(head_ + count_) % kQueueCapacity];
            slot.header = header;
            slot.startFrame = queueEnd_ > cursor ? queueEnd_ : cursor;
            slot.frames = header->dwBufferLength / frameBytes_;
            queueEnd_ = slot.startFrame + slot.frames;
            ++count_;
            ++writes_;
        }
        written_.notify_all();
        return MMSYSERR_NOERROR;
    }

    MMRESULT pause() override {
        std::lock_guard<std::mutex> hold(mutex_);
        if (!open_) return MMSYSERR_INVALHANDLE;
        if (playing_) {
            now_ = Now();
            framesBeforeRun_ = cursorAt(now_);
            playing_ = false;
        }
        return MMSYSERR_NOERROR;
    }

    MMRESULT restart() override {
        std::lock_guard<std::mutex> hold(mutex_);
        if (!open_) return MMSYSERR_INVALHANDLE;
        if (!playing_) {
            now_ = runStartTick_ = Now();
            playing_ = true;
        }
        return MMSYSERR_NOERROR;
    }

    MMRESULT reset() override {
        std::lock_guard<std::mutex> hold(mutex_);
        if (!open_) return MMSYSERR_INVALHANDLE;
        now_ = Now();
        framesBeforeRun_ = cursorAt(now_);
        runStartTick_ = now_;
        playing_ = false;
        while (count_ > 0) handBack(popHead().header);
        queueEnd_ = framesBeforeRun_;
        return MMSYSERR_NOERROR;
    }

    MMRESULT close() override {
        std::lock_guard<std::mutex> hold(mutex_);
        if (!open_) return MMSYSERR_INVALHANDLE;
        if (count_ > 0) return WAVERR_STILLPLAYING;
        RemoveClockListener(this);
        capture_.close();
        open_ = false;
        callback_ = nullptr;
        return MMSYSERR_NOERROR;
    }

    bool nextDeadline(std::uint32_t* tick) override {
        std::lock_guard<std::mutex> hold(mutex_);
        if (!open_ || !playing_ || count_ == 0) return false;
        *tick = tickOfFrame(queue_[head_].startFrame + queue_[head_].frames);
        return true;
    }

    // Hands back, in order, every buffer that has finished by `now`, each
    // time waiting until the mixing thread has written it again. The next
    // deadline is then the end of a buffer that is still playing.
    void reached(std::uint32_t now) override {
        std::unique_lock<std::mutex> hold(mutex_);
        now_ = now;
        while (open_ && playing_ && count_ > 0 &&
               static_cast<std::int32_t>(tickOfFrame(queue_[head_].startFrame + queue_[head_].frames) - now) <= 0) {
            const QueuedBuffer done = popHead();
            if (done.startFrame > capturedFrames_)
                capture_.writeSilence((done.startFrame - capturedFrames_) * frameBytes_);
            capture_.write(done.header->lpData, static_cast<std::size_t>(done.frames * frameBytes_));
            capturedFrames_ = done.startFrame + done.frames;
            const std::uint64_t writesBefore = writes_;
            if (handBack(done.header)) written_.wait(hold, [&] { return writes_ != writesBefore || !open_; });
        }
    }

private:
    static constexpr std::size_t kQueueCapacity = 16;

    // Frames played by the virtual tick `tick`.
    std::uint64_t cursorAt(std::uint32_t tick) const {
        if (!playing_) return framesBeforeRun_;
        const std::uint32_t elapsed = tick - runStartTick_;
        return framesBeforeRun_ + static_cast<std::uint64_t>(elapsed) * rate_ / 1000;
    }

    // The first tick by which `frame` frames have played.
    std::uint32_t tickOfFrame(std::uint64_t frame) const {
        if (frame <= framesBeforeRun_) return runStartTick_;
        const std::uint64_t ms = ((frame - framesBeforeRun_) * 1000 + rate_ - 1) / rate_;
        return runStartTick_ + static_cast<std::uint32_t>(ms);
    }

    QueuedBuffer popHead() {
        const QueuedBuffer done = queue_[head_];
        head_ = (head_ + 1) % kQueueCapacity;
        --count_;
        return done;
    }

    bool handBack(WAVEHDR* header) {
        header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
        return callback_ != nullptr &&
               callback_->post(MM_WOM_DONE, 0, static_cast<LPARAM>(reinterpret_cast<std::uintptr_t>(header)));
    }

    std::mutex mutex_;
    std::condition_variable written_;
    bool open_ = false;
    bool playing_ = false;
    ThreadMessageQueue* callback_ = nullptr;
    std::uint32_t rate_ = 0;
    std::uint32_t frameBytes_ = 1;
    std::uint32_t now_ = 0;
    std::uint32_t runStartTick_ = 0;     // the tick at which the cursor last started moving
    std::uint64_t framesBeforeRun_ = 0;  // where it stood then
    std::uint64_t queueEnd_ = 0;         // the frame at which the last written buffer ends
    std::uint64_t capturedFrames_ = 0;
    std::uint64_t writes_ = 0;
    QueuedBuffer queue_[kQueueCapacity];
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    WavCapture capture_;
};

}  // namespace

WaveDevice* HeadlessWaveDevice() {
    static ClockedWaveDevice device;
    return &device;
}

}  // namespace platform::headless
