// The desktop's sound device on SDL's dummy audio driver, which pulls as a
// sound card would but plays nowhere; on its disk driver, which writes what
// it plays to a file; and on a driver that does not exist.
#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_backend.h"
#include "sound/sound_system.h"
#include "support/headless_run.h"

namespace {

constexpr std::uint8_t kSilence = 128;

// The sound of the nth full buffer: never silence, and not its neighbours'.
std::uint8_t Stamp(std::size_t n) { return static_cast<std::uint8_t>(129 + n % 127); }

// Buffers on a script, as the engine gives them: a few short silent ones to
// start, then full ones, each of one sound of its own (Stamp); a supply that
// ends, and pulls whose first look finds nothing, as when the mixing thread
// is a moment late.
class ScriptedSource final : public platform::AudioSource {
public:
    explicit ScriptedSource(std::size_t bytes) : buffer_(bytes) {}
    // Set before the device resumes.
    std::size_t perPull = 1;        // buffers a pull takes
    std::size_t starting = 0;       // short silent buffers before the full ones
    std::size_t supply = SIZE_MAX;  // buffers given in all, the starting ones included
    std::size_t lateFor = 0;        // buffers given before the pulls come on time
    std::function<void()> onDry;    // at each look that finds the supply spent

    std::span<const std::uint8_t> nextBuffer() override {
        if (given >= supply) {
            ++dryLooks;
            if (onDry) onDry();
            return {};
        }
        if (given < lateFor && given % perPull == 0 && !missed_) {
            missed_ = true;
            return {};
        }
        missed_ = false;
        if (given < starting) return {startingBuffer_, sizeof startingBuffer_};
        std::fill(buffer_.begin(), buffer_.end(), Stamp(given - starting));
        return buffer_;
    }
    void release() override { ++given; }
    std::size_t readyCount() override { return given < supply ? 1 : 0; }
    void awaitRefill() override {}
    std::atomic<std::size_t> given{0}, dryLooks{0};

private:
    std::vector<std::uint8_t> buffer_;
    std::uint8_t startingBuffer_[8] = {kSilence, kSilence, kSilence, kSilence, kSilence, kSilence, kSilence, kSilence};
    bool missed_ = false;
};

// Where the first sound is in what the device played.
std::vector<std::uint8_t>::const_iterator FirstSound(const std::vector<std::uint8_t>& played) {
    return std::find_if(played.begin(), played.end(), [](std::uint8_t b) { return b != kSilence; });
}

// Always ready; notes the scheduling class of the thread that pulls.
class ReadySource final : public platform::AudioSource {
public:
    std::span<const std::uint8_t> nextBuffer() override {
        pullingClass = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
        return buffer_;
    }
    void release() override {}
    std::size_t readyCount() override { return 1; }
    void awaitRefill() override {}
    std::atomic<int> pullingClass{-1};

private:
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(64, 128);
};

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename Done>
void AwaitUpTo10Seconds(Done done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// SDL's disk driver, writing what the device plays to a file of the scratch folder.
struct DiskDriver {
    testing_support::ScratchDir dir;
    testing_support::EnvironmentScope driver{"SDL_AUDIODRIVER", "disk"};
    testing_support::EnvironmentScope file{"SDL_DISKAUDIOFILE", dir.file("played.raw").c_str()};
    testing_support::EnvironmentScope pace{"SDL_DISKAUDIODELAY", "1"};  // ms between pulls
    std::vector<std::uint8_t> played() const { return ReadAll(dir.file("played.raw")); }
};

bool RealTimeGranted() {
    bool granted = false;
    std::thread([&] {
        const sched_param level{1};
        granted = sched_setscheduler(0, SCHED_RR, &level) == 0;
    }).join();
    return granted;
}

}  // namespace

TEST(SdlAudioOut, PullsWholeEngineBuffersAndHearsASoundWithinFortyMilliseconds) {
    testing_support::EnvironmentScope dummy("SDL_AUDIODRIVER", "dummy");
    for (const std::uint32_t rate : {11025u, 22050u, 44100u}) {
        auto device = platform::sdl::MakeSdlAudioOut("test");
        const std::uint32_t buffer = device->bufferFrames(rate, 298);
        ReadySource source;
        ASSERT_TRUE(device->open({rate, 1}, source));
        const std::uint32_t pull = device->deviceBufferFrames();
        device->close();
        // A pull the ring cannot cover, or one that cuts a buffer, runs dry every time.
        EXPECT_EQ(pull % buffer, 0u) << rate;
        EXPECT_LE(pull, SoundSystem::kBufferCount * buffer) << rate;
        // A sound started just after a render: a pull to its render, a pull to
        // its copy-out, what the ring keeps back from a pull, SDL's buffer.
        const std::uint32_t keptBack = SoundSystem::kBufferCount * buffer - pull;
        EXPECT_LE(1000.0 * (3 * pull + keptBack) / rate, 40.0) << rate;
    }
}

TEST(SdlAudioOut, RunsBothSoundThreadsAheadOfOrdinaryWorkWhereTheSystemAllows) {
    if (!RealTimeGranted()) GTEST_SKIP() << "this user may not use the real-time class";
    testing_support::EnvironmentScope dummy("SDL_AUDIODRIVER", "dummy");
    auto device = platform::sdl::MakeSdlAudioOut("test");
    ReadySource source;
    ASSERT_TRUE(device->open({11025, 1}, source));
    device->resume();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (source.pullingClass == -1 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    device->close();
    EXPECT_EQ(source.pullingClass, SCHED_RR);

    int fillingClass = -1;
    std::thread([&] {
        device->promoteFillingThread();
        fillingClass = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    }).join();
    EXPECT_EQ(fillingClass, SCHED_RR);
}

TEST(SdlAudioOut, ABufferThatComesWhileAPullWaitsIsPlayedAndNotCountedAsRunningDry) {
    DiskDriver disk;
    auto device = platform::sdl::MakeSdlAudioOut("test");
    const std::uint32_t frames = device->bufferFrames(11025, 298);
    EXPECT_LT(frames, 298u);  // shorter than the handheld's, to answer sooner
    ScriptedSource source(frames);
    ASSERT_TRUE(device->open({11025, 1}, source));
    source.perPull = device->deviceBufferFrames() / frames;
    source.lateFor = 10 * source.perPull;
    device->resume();
    AwaitUpTo10Seconds([&] { return source.given >= source.lateFor; });
    device->close();
    EXPECT_EQ(device->underruns(), 0u);
    // From the first sound on (a paused device writes silence), no gap.
    const std::vector<std::uint8_t> played = disk.played();
    const auto start = FirstSound(played);
    const auto sounding = static_cast<std::ptrdiff_t>(source.lateFor * frames);
    ASSERT_GE(played.end() - start, sounding);
    EXPECT_EQ(std::count(start, start + sounding, kSilence), 0);
}
TEST(SdlAudioOut, ThePullThatPlaysTheShortStartingBuffersEndsThereSoThatEachLaterPullTakesWholeBuffers) {
    DiskDriver disk;
    auto device = platform::sdl::MakeSdlAudioOut("test");
    const std::uint32_t frames = device->bufferFrames(11025, 298);
    ScriptedSource source(frames);
    ASSERT_TRUE(device->open({11025, 1}, source));
    const std::uint32_t pullBytes = device->deviceBufferFrames();
    source.perPull = pullBytes / frames;
    source.starting = SoundSystem::kBufferCount;
    const std::size_t pulls = 10;
    device->resume();
    AwaitUpTo10Seconds([&] { return source.given >= source.starting + (pulls + 1) * source.perPull; });
    device->close();
    EXPECT_EQ(device->underruns(), 0u);
    // Whole pulls from the file's start; the starting pull holds the first sound.
    const std::vector<std::uint8_t> played = disk.played();
    std::size_t at = static_cast<std::size_t>(FirstSound(played) - played.begin()) / pullBytes * pullBytes + pullBytes;
    ASSERT_GE(played.size(), at + pulls * pullBytes);
    const std::size_t firstWhole = static_cast<std::size_t>(played[at] - Stamp(0));
    for (std::size_t buffer = 0; buffer < pulls * source.perPull; ++buffer, at += frames)
        for (std::size_t i = 0; i < frames; ++i) ASSERT_EQ(played[at + i], Stamp(firstWhole + buffer)) << buffer;
}

TEST(SdlAudioOut, ASourceThatRunsDryIsHeardAsSilenceAndEachDryPullCountsOnce) {
    DiskDriver disk;
    auto device = platform::sdl::MakeSdlAudioOut("test");
    const std::uint32_t frames = device->bufferFrames(11025, 298);
    ScriptedSource source(frames);
    ASSERT_TRUE(device->open({11025, 1}, source));
    const std::uint32_t pullBytes = device->deviceBufferFrames();
    source.perPull = pullBytes / frames;
    source.supply = source.perPull + 2;  // the second pull runs dry part way
    EXPECT_EQ(device->underruns(), 0u);
    device->resume();
    AwaitUpTo10Seconds([&] { return device->underruns() >= 3; });
    device->close();
    const std::vector<std::uint8_t> played = disk.played();
    const auto start = FirstSound(played);
    const auto sounding = static_cast<std::ptrdiff_t>(source.supply * frames);
    ASSERT_GE(played.end() - start, sounding);
    EXPECT_EQ(std::count(start, start + sounding, kSilence), 0);
    EXPECT_EQ(std::count(start + sounding, played.end(), kSilence), played.end() - start - sounding);
    // Not once for each buffer missed, nor for each look while a pull waits;
    // the close may keep the last pull out of the file.
    const std::uint64_t pullsAfterTheFirst = static_cast<std::uint64_t>(played.end() - start) / pullBytes - 1;
    EXPECT_GE(device->underruns(), 3u);
    EXPECT_LE(device->underruns(), pullsAfterTheFirst + 1);
}

TEST(SdlAudioOut, PausingWhileAPullWaitsEndsTheWaitAtOnceAndCountsNothing) {
    testing_support::EnvironmentScope dummy("SDL_AUDIODRIVER", "dummy");
    auto device = platform::sdl::MakeSdlAudioOut("test");
    const std::uint32_t frames = device->bufferFrames(11025, 298);
    ScriptedSource source(frames);
    ASSERT_TRUE(device->open({11025, 1}, source));
    source.perPull = device->deviceBufferFrames() / frames;
    source.supply = source.perPull;
    // The pause lands as the pull starts to wait, as the main thread's
    // would; SDL's pause (and close) wait for the pull to end. A close
    // ends the wait the same way.
    std::atomic<bool> paused{false};
    source.onDry = [&] {
        if (!paused.exchange(true)) device->pause();
    };
    device->resume();
    AwaitUpTo10Seconds([&] { return paused.load(); });
    device->close();
    EXPECT_EQ(source.dryLooks, 1u);  // no look again after the pause
    EXPECT_EQ(device->underruns(), 0u);
}

TEST(SdlAudioOut, WithoutADriverItRefusesAndSaysSoInOneLineOnce) {
    testing_support::EnvironmentScope none("SDL_AUDIODRIVER", "no-such-driver");
    auto device = platform::sdl::MakeSdlAudioOut("test", "test: no sound device");
    ScriptedSource source(64);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(device->open({11025, 1}, source));
    EXPECT_FALSE(device->open({11025, 1}, source));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "test: no sound device\n");
}
