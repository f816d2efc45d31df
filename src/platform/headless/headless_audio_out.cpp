// The headless sound device. Its play cursor runs at exactly `rate` frames
// per virtual second; each buffer plays from the later of the end of the one
// before and where the cursor stood when it became ready, and is released on
// the first tick at or after its last frame. The clock then waits for the
// refill, so the same run gives the same bytes every time.
#include "platform/headless/headless_backend.h"

#include <cstring>
#include <deque>

namespace platform::headless {

namespace {

SoundCapture* capture = nullptr;  // for the device's next open

// A buffer the source holds ready, where the cursor stood when it became so.
struct ReadyBuffer {
    std::uint64_t readyCursor = 0;
};

class ClockedAudioOut final : public AudioOut, public ClockListener {
public:
    bool open(const AudioFormat& format, AudioSource& source) override {
        if (open_ || (capture != nullptr && !capture->open(format))) return false;
        capture_ = capture;
        open_ = true;
        playing_ = false;
        source_ = &source;
        rate_ = format.rate;
        frameBytes_ = format.channels;
        now_ = runStart_ = NowMoment();
        framesBeforeRun_ = 0;
        playedEnd_ = 0;
        capturedFrames_ = 0;
        ready_.clear();
        AddClockListener(this);
        return true;
    }

    void pause() override {
        if (!open_ || !playing_) return;
        now_ = NowMoment();
        framesBeforeRun_ = cursorAt(now_);
        playing_ = false;
    }

    void resume() override {
        if (!open_) return;
        noteNewlyReady();
        if (playing_) return;
        now_ = runStart_ = NowMoment();
        playing_ = true;
    }

    void close() override {
        if (!open_) return;
        RemoveClockListener(this);
        if (capture_ != nullptr) capture_->close();
        capture_ = nullptr;
        open_ = playing_ = false;
        source_ = nullptr;
        ready_.clear();
    }

    bool nextDeadline(std::uint32_t* tick) override {
        if (!open_ || !playing_ || ready_.empty()) return false;
        const std::uint64_t frames = source_->nextBuffer().size() / frameBytes_;
        *tick = static_cast<std::uint32_t>(momentOfFrame(headStart() + frames));
        return true;
    }

    // Plays out, in order, every buffer that has finished by `now`, each time
    // waiting until the source has filled it again. The next deadline is then
    // the end of a buffer that is still playing.
    void reached(std::uint32_t) override {
        now_ = NowMoment();
        while (open_ && playing_ && !ready_.empty()) {
            const std::span<const std::uint8_t> bytes = source_->nextBuffer();
            const std::uint64_t start = headStart(), frames = bytes.size() / frameBytes_;
            if (momentOfFrame(start + frames) > now_) break;
            if (capture_ != nullptr) {
                if (start > capturedFrames_) captureSilence((start - capturedFrames_) * frameBytes_);
                capture_->write(bytes.data(), bytes.size());
            }
            capturedFrames_ = playedEnd_ = start + frames;
            ready_.pop_front();
            source_->release();
            source_->awaitRefill();
            noteNewlyReady();
        }
    }

private:
    void captureSilence(std::uint64_t count) {
        std::uint8_t silence[256];
        std::memset(silence, 128, sizeof silence);
        while (count > 0) {
            const std::size_t part = count < sizeof silence ? static_cast<std::size_t>(count) : sizeof silence;
            capture_->write(silence, part);
            count -= part;
        }
    }

    // Buffers the source made ready since the device last looked are placed
    // at the cursor of this moment.
    void noteNewlyReady() {
        const std::size_t ready = source_->readyCount();
        while (ready_.size() < ready) ready_.push_back(ReadyBuffer{cursorAt(now_)});
    }

    std::uint64_t headStart() const {
        const std::uint64_t readyAt = ready_.front().readyCursor;
        return playedEnd_ > readyAt ? playedEnd_ : readyAt;
    }

    // FIX: the play position is worked out from the clock's 64-bit count, so
    // it stays right after 2^32 ms (49.7 days) of play, where the clock the
    // program reads wraps.

    // Frames played by the virtual moment `moment`.
    std::uint64_t cursorAt(std::uint64_t moment) const {
        if (!playing_) return framesBeforeRun_;
        return framesBeforeRun_ + (moment - runStart_) * rate_ / 1000;
    }

    // The first moment by which `frame` frames have played.
    std::uint64_t momentOfFrame(std::uint64_t frame) const {
        if (frame <= framesBeforeRun_) return runStart_;
        return runStart_ + ((frame - framesBeforeRun_) * 1000 + rate_ - 1) / rate_;
    }

    bool open_ = false;
    bool playing_ = false;
    AudioSource* source_ = nullptr;
    std::uint32_t rate_ = 0;
    std::uint32_t frameBytes_ = 1;
    std::uint64_t now_ = 0;              // the clock's moment when the device last looked
    std::uint64_t runStart_ = 0;         // the moment at which the cursor last started moving
    std::uint64_t framesBeforeRun_ = 0;  // where it stood then
    std::uint64_t playedEnd_ = 0;        // the frame at which the last played buffer ended
    std::uint64_t capturedFrames_ = 0;
    std::deque<ReadyBuffer> ready_;  // in play order, the head first
    SoundCapture* capture_ = nullptr;
};

}  // namespace

AudioOut& HeadlessAudioOut() {
    static ClockedAudioOut device;
    return device;
}

void SetSoundCapture(SoundCapture* soundCapture) { capture = soundCapture; }

}  // namespace platform::headless
