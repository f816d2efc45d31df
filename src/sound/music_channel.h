// A music channel: replays one Module's four tracks on the mixing thread,
// one output frame at a time or a block of them, under the classic rules or
// the accurate ones (sound/replay_profile.h). The sequencer is driven by the
// frames themselves, so timing needs no timer: under the classic rules a tick
// lasts samplesPerTick + 1 frames and a row speed * (samplesPerTick + 1) + 1;
// under the accurate rules a tick lasts rate * 2.5 / tempo frames, the
// fraction carried to the next.
//
// startModule and renderFrame run under the engine lock (playModule on the
// main thread, the buffer rendering on the mixing thread); setVolume may come
// from the main thread without the lock and writes single words.
#pragma once

#include <array>
#include <atomic>
#include <bitset>
#include <cstdint>
#include <vector>

#include "sound/channel.h"
#include "sound/module_format.h"
#include "sound/replay_profile.h"

class Module;

// The block mixer's working parts (music_mixing.cpp).
namespace music_mix {
template <typename Position>
struct Lane;
}  // namespace music_mix

class MusicChannel : public Channel {
public:
    MusicChannel();
    // The channel's volume 0..64, passed on to the four tracks.
    void setVolume(int v) override;
    // The module's stereo separation 0..255: tracks 0 and 3 lean left,
    // 1 and 2 right, fully apart at 255 and nearly centred at 0.
    void setPan(int separation) override;

    // Starts `module` from its first order (the per-channel part of
    // playModule). Called under the engine lock on a free channel.
    // `stepTable` is the engine's period-to-step table for `rate`. The module's
    // image must stay in place while the channel plays it.
    void startModule(const Module& module, const std::uint16_t* stepTable, std::uint32_t rate);
    // The same under `profile`, outside the engine. The classic rules play
    // at 11025, 22050 or 44100 Hz, the accurate ones at kLowestAccurateRate
    // to kHighestAccurateRate; at any other rate the channel stays free.
    void startModule(const Module& module, std::uint32_t rate, const ReplayProfile& profile);

    // Advances the replay by one output frame and adds the four tracks into
    // the accumulators. Mixing thread, under the engine lock, only for a
    // channel that is neither stopped nor paused. A song that ends here stops
    // the channel and adds nothing.
    void renderFrame(std::int32_t& left, std::int32_t& right, bool stereo);

    // renderFrame for up to `frames` frames at once, adding frame i into
    // left[i] and right[i] (right untouched in mono): the same sums, with the
    // sequencer stepping from one tick to the next and each track mixed over
    // the frames between in one go. Stops early after the frame on which the
    // song came round (completedPasses grew; that frame counts), or at the
    // frame on which it ended (the channel stops; that frame adds nothing and
    // does not count). Returns the frames rendered. Same thread and lock as
    // renderFrame.
    // Under the accurate rules the accumulators hold 16-bit sample values,
    // 256 times the classic ones. With null accumulators the sequencer runs
    // alone, counting the same frames (a song's length). With `overwrite`
    // the accumulators' old values do not count: each rendered frame is
    // written, with the same sums as if they had held 0 (a caller that mixes
    // nothing else saves clearing them).
    std::uint32_t renderFrames(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool stereo,
                               bool overwrite = false);

    // The sequencer's part of renderFrame alone (classic rules): false when
    // the song ended on this frame (the channel has stopped).
    bool advanceFrame();

    // Where the song is: the order position and the row (0..63) read last.
    // Any thread (a player's display reads them while the song plays).
    std::uint32_t order() const { return std::atomic_ref(shownOrder_).load(std::memory_order_relaxed); }
    std::uint32_t row() const { return std::atomic_ref(shownRow_).load(std::memory_order_relaxed); }
    // How many times the song has come round: passed its last order and gone
    // on at its restart position, or jumped back to a row it had already
    // played. A song that ends without looping stops the channel instead.
    // Any thread.
    std::uint32_t completedPasses() const { return std::atomic_ref(completedPasses_).load(std::memory_order_relaxed); }
    std::uint32_t songLength() const { return header_.songLength; }

    // One track's state, for the engine's tests and the player's display.
    struct Track {
        // Periods (this one, and shownPeriod, portaTarget, delayedPeriod)
        // count whole periods under the classic rules and quarter periods
        // under the accurate ones (sound/tuned_periods.h).
        std::uint32_t period = 0;
        std::uint32_t sample = 0;  // 0..31
        // Fixed point with fractionBits() fraction bits: 8.8 and 24.8 under
        // the classic rules, 32.32 under the accurate ones.
        std::uint64_t step = 0;
        // setVolume writes these two from the main thread as well: both are
        // read and written as single words through std::atomic_ref.
        std::uint32_t trackVolume = 0;     // 0..64, more after a set-volume above 64
        std::uint32_t trackEffective = 0;  // trackVolume * effective volume >> 6
        std::uint32_t effect = 0;
        std::uint32_t paramX = 0;
        std::uint32_t paramY = 0;
        std::uint32_t param = 0;
        std::uint64_t position = 0;  // bytes into the sample
        std::uint32_t trackPan = 0;  // 0..255

        // Effect memories.
        std::int32_t volumeSlide = 0;
        std::uint32_t slidePeriod = 0;
        std::uint32_t portaTarget = 0;
        std::uint32_t portaSpeed = 0;
        std::uint32_t arpeggioTick = 0;
        std::array<std::uint32_t, 3> arpeggioStep{};  // base, +x, +y semitones
        std::uint32_t vibratoPosition = 0;            // 0..63
        std::uint32_t vibratoSpeed = 9;
        std::uint32_t vibratoDepth = 2;
        std::uint32_t delayCounter = 0;
        std::uint32_t delayedPeriod = 0;
        std::uint32_t cutCounter = 0;

        // The accurate rules' own state.
        std::uint32_t finetune = 0;     // the periodTable row; a sample sets it, E5x too
        std::uint32_t shownPeriod = 0;  // the period heard this tick (vibrato, arpeggio, glissando)
        std::int32_t tremoloDelta = 0;  // the volume heard this tick, less trackVolume
        std::uint32_t vibratoWave = 0;  // 0 sine, 1 ramp, 2 and 3 square; +4 keeps the position for a new note
        std::uint32_t tremoloWave = 0;
        std::uint32_t tremoloPosition = 0;
        std::uint32_t tremoloSpeed = 0;
        std::uint32_t tremoloDepth = 0;
        std::uint32_t loopRow = 0;
        std::uint32_t loopCount = 0;
        std::uint32_t offsetMemory = 0;
        bool glissando = false;
    };
    const Track& track(std::uint32_t t) const { return tracks_[t]; }
    std::uint32_t samplesPerTick() const { return samplesPerTick_; }
    std::uint32_t speed() const { return speed_; }
    std::uint32_t tempo() const { return tempo_; }
    ReplayRules rules() const { return accurate_ ? ReplayRules::accurate : ReplayRules::classic; }
    std::uint32_t fractionBits() const { return accurate_ ? 32 : 8; }

private:
    // music_rows.cpp
    bool readRow();
    void readCell(Track& track, const Cell& cell);
    std::uint32_t renderTicks(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool stereo,
                              bool overwrite);
    void setUpEffect(Track& track, const Cell& cell);
    void advancePosition();
    void passLastOrder();
    void startPass();
    const std::uint8_t* rowAt(std::uint32_t pattern, std::uint32_t row) const;
    // music_effects.cpp
    void runTickEffects(Track& track);
    void slideVolume(Track& track);
    // music_accurate.cpp
    bool runTick();
    std::uint32_t nextTickFrames();
    std::uint64_t fineStep(std::uint32_t period) const;
    void trigger(Track& track, std::uint32_t period);
    void readCellAccurate(Track& track, const Cell& cell);
    void setUpAccurate(Track& track, const Cell& cell);
    void setUpExtended(Track& track, const Cell& cell);
    void runTickAccurate(Track& track);
    void slideToNote(Track& track);
    void vibrate(Track& track);
    void showTrack(Track& track);
    // music_mixing.cpp
    void mixTracks(std::int32_t& left, std::int32_t& right, bool stereo);
    void mixTracks(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool stereo, bool overwrite);
    template <bool Stereo, bool Linear, typename Position>
    void mixLanes(std::int32_t* left, std::int32_t* right, std::uint32_t frames, bool overwrite);

    void start(const Module& module, const std::uint16_t* stepTable, std::uint32_t rate);
    void copyFineData();
    void copyShortLoops();
    void resetTracks();
    void applyVolume(Track& track, std::uint32_t volume);
    std::uint32_t stepAt(std::uint32_t period) const;
    std::uint32_t tunedPeriod(std::uint32_t finetune, std::uint32_t cellPeriod) const;

    // Long enough that a tick at any rate and pitch crosses it seldom.
    static constexpr std::uint32_t kShortLoopSpanBytes = 4096;
    static constexpr std::uint32_t kNoJump = 0x00FFFFFF;
    static constexpr std::uint32_t kDelayDone = 0x00FFFFFF;  // delayCounter once the delayed note has sounded

    const std::uint8_t* image_ = nullptr;
    std::size_t imageSize_ = 0;
    const std::uint16_t* stepTable_ = nullptr;
    std::uint32_t rate_ = 0;
    SongHeader header_;

    std::uint32_t pattern_ = 0;
    std::uint32_t row_ = 0;
    mutable std::uint32_t shownOrder_ = 0;  // written by the sequencer through std::atomic_ref
    mutable std::uint32_t shownRow_ = 0;
    std::uint32_t order_ = 0;
    std::uint32_t samplesPerTick_ = 0;
    bool accurate_ = false;
    bool linear_ = false;
    bool songStopped_ = false;      // F00 under the accurate rules
    std::uint32_t tempo_ = 125;     // accurate: beats per minute, ticks of rate * 2.5 / tempo frames
    std::uint32_t tickCarry_ = 0;   // accurate: the fraction of a frame the ticks so far left over
    std::uint32_t framesLeft_ = 0;  // accurate: frames of the current tick still to play
    // accurate: each sample's bytes up to its loop's end or its own, and one
    // guard byte after them, the byte that follows the last when
    // interpolating (the loop's first, or silence).
    std::vector<std::int8_t> fineBytes_;
    std::array<const std::int8_t*, kSampleSlots> fineData_{};
    // Each short loop played over and over in a row, at least
    // kShortLoopSpanBytes, and a guard byte (the loop's first) after them:
    // the mixer reads a short loop from here, so a track crosses a loop's
    // end, and needs a frame with checks, once in many loops rather than
    // every few dozen frames. Null for a sample without a loop or with a
    // long one.
    std::vector<std::int8_t> loopBytes_;
    std::array<const std::int8_t*, kSampleSlots> loopData_{};
    std::array<std::uint32_t, kSampleSlots> loopSpan_{};  // bytes of loopData_ before the guard, whole loops
    std::uint32_t frameCounter_ = 0;
    std::uint32_t speed_ = 6;
    std::uint32_t tick_ = 6;
    std::array<Track, kTracks> tracks_;

    std::uint32_t jumpOrder_ = kNoJump;
    std::uint32_t breakRow_ = kNoJump;
    std::uint32_t patternDelay_ = 0;

    std::bitset<kOrderCount * kRowsPerPattern> playedRows_;
    mutable std::uint32_t completedPasses_ = 0;
    bool songCameRound_ = false;  // the last order has passed: stop or loop at the next row
};
