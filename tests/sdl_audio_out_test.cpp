// The desktop's sound device on SDL's dummy audio driver, which pulls as a
// sound card would but plays nowhere; on its disk driver, which writes what
// it plays to a file; and on a driver that does not exist.
#include <gtest/gtest.h>
#include <sched.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_backend.h"
#include "sound/sound_system.h"
#include "sound_test_support.h"
#include "support/headless_run.h"

using namespace sound_test;

namespace {

// Where the first sound is in what the device played.
std::vector<std::uint8_t>::const_iterator FirstSound(const std::vector<std::uint8_t>& played) {
    return std::find_if(played.begin(), played.end(), [](std::uint8_t b) { return b != kSilence; });
}

// SDL's disk driver, writing what the device plays to a file of the scratch folder.
struct DiskDriver {
    testing_support::ScratchDir dir;
    testing_support::EnvironmentScope driver{"SDL_AUDIODRIVER", "disk"};
    testing_support::EnvironmentScope file{"SDL_DISKAUDIOFILE", dir.file("played.raw").c_str()};
    testing_support::EnvironmentScope pace{"SDL_DISKAUDIODELAY", "1"};  // ms between pulls
    std::vector<std::uint8_t> played() const {
        const std::string bytes = testing_support::ReadFile(dir.file("played.raw"));
        return {bytes.begin(), bytes.end()};
    }
};

// A device opened at `rate` on a ScriptedSource whose pulls take whole buffers.
struct ScriptedDevice {
    explicit ScriptedDevice(std::uint32_t rate = 11025) : rate(rate) { source.perPull = pullBytes / frames; }
    // Plays until `done` holds (or ten seconds pass), then closes the device.
    template <typename Done>
    void playUntil(Done done) {
        device->resume();
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        device->close();
    }
    const std::uint32_t rate;
    std::unique_ptr<platform::AudioOut> device = platform::sdl::MakeSdlAudioOut("test");
    const std::uint32_t frames = device->bufferFrames(rate, 298);
    ScriptedSource source{frames};
    const bool opened = device->open({rate, 1}, source);
    const std::uint32_t pullBytes = device->deviceBufferFrames();  // one byte a frame
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
        ScriptedDevice sd(rate);
        ASSERT_TRUE(sd.opened);
        sd.device->close();
        const std::uint32_t buffer = sd.frames, pull = sd.pullBytes;
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
    ScriptedDevice sd;
    ASSERT_TRUE(sd.opened);
    sd.playUntil([&] { return sd.source.pullingClass != -1; });
    EXPECT_EQ(sd.source.pullingClass, SCHED_RR);

    int fillingClass = -1;
    std::thread([&] {
        sd.device->promoteFillingThread();
        fillingClass = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    }).join();
    EXPECT_EQ(fillingClass, SCHED_RR);
}

TEST(SdlAudioOut, ABufferThatComesWhileAPullWaitsIsPlayedAndNotCountedAsRunningDry) {
    DiskDriver disk;
    ScriptedDevice sd;
    ASSERT_TRUE(sd.opened);
    EXPECT_LT(sd.frames, 298u);  // shorter than the handheld's, to answer sooner
    sd.source.lateFor = 10 * sd.source.perPull;
    sd.playUntil([&] { return sd.source.given >= sd.source.lateFor; });
    EXPECT_EQ(sd.device->underruns(), 0u);
    // From the first sound on (a paused device writes silence), no gap.
    const std::vector<std::uint8_t> played = disk.played();
    const auto start = FirstSound(played);
    const auto sounding = static_cast<std::ptrdiff_t>(sd.source.lateFor * sd.frames);
    ASSERT_GE(played.end() - start, sounding);
    EXPECT_EQ(std::count(start, start + sounding, kSilence), 0);
}

TEST(SdlAudioOut, ThePullThatPlaysTheShortStartingBuffersEndsThereSoThatEachLaterPullTakesWholeBuffers) {
    DiskDriver disk;
    ScriptedDevice sd;
    ASSERT_TRUE(sd.opened);
    ScriptedSource& source = sd.source;
    source.starting = SoundSystem::kBufferCount;
    const std::size_t pulls = 10;
    sd.playUntil([&] { return source.given >= source.starting + (pulls + 1) * source.perPull; });
    EXPECT_EQ(sd.device->underruns(), 0u);
    // Whole pulls from the file's start; the starting pull holds the first sound.
    const std::vector<std::uint8_t> played = disk.played();
    const std::size_t pullBytes = sd.pullBytes;
    std::size_t at = static_cast<std::size_t>(FirstSound(played) - played.begin()) / pullBytes * pullBytes + pullBytes;
    ASSERT_GE(played.size(), at + pulls * pullBytes);
    const std::size_t firstWhole = static_cast<std::size_t>(played[at] - Stamp(0));
    for (std::size_t buffer = 0; buffer < pulls * source.perPull; ++buffer, at += sd.frames)
        for (std::size_t i = 0; i < sd.frames; ++i) ASSERT_EQ(played[at + i], Stamp(firstWhole + buffer)) << buffer;
}

TEST(SdlAudioOut, ASourceThatRunsDryIsHeardAsSilenceAndEachDryPullCountsOnce) {
    DiskDriver disk;
    ScriptedDevice sd;
    ASSERT_TRUE(sd.opened);
    sd.source.supply = sd.source.perPull + 2;  // the second pull runs dry part way
    sd.playUntil([&] { return sd.device->underruns() >= 3; });
    const std::vector<std::uint8_t> played = disk.played();
    const auto start = FirstSound(played);
    const auto sounding = static_cast<std::ptrdiff_t>(sd.source.supply * sd.frames);
    ASSERT_GE(played.end() - start, sounding);
    EXPECT_EQ(std::count(start, start + sounding, kSilence), 0);
    EXPECT_EQ(std::count(start + sounding, played.end(), kSilence), played.end() - start - sounding);
    // Not once for each buffer missed, nor for each look while a pull waits;
    // the close may keep the last pull out of the file.
    const auto pullsAfterTheFirst = static_cast<std::uint64_t>(played.end() - start) / sd.pullBytes - 1;
    EXPECT_GE(sd.device->underruns(), 3u);
    EXPECT_LE(sd.device->underruns(), pullsAfterTheFirst + 1);
}

TEST(SdlAudioOut, PausingWhileAPullWaitsEndsTheWaitAtOnceAndCountsNothing) {
    testing_support::EnvironmentScope dummy("SDL_AUDIODRIVER", "dummy");
    ScriptedDevice sd;
    ASSERT_TRUE(sd.opened);
    sd.source.supply = sd.source.perPull;
    // The pause lands as the pull starts to wait, as the main thread's
    // would; SDL's pause (and close) wait for the pull to end. A close
    // ends the wait the same way.
    std::atomic<bool> paused{false};
    sd.source.onDry = [&] {
        if (!paused.exchange(true)) sd.device->pause();
    };
    sd.playUntil([&] { return paused.load(); });
    EXPECT_EQ(sd.source.dryLooks, 1u);  // no look again after the pause
    EXPECT_EQ(sd.device->underruns(), 0u);
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
