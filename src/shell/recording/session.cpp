#include "shell/recording/session.h"

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace platform;

namespace recording {

namespace {

// Waits on the live clock until as much time has gone by since the first
// reading as went by in the recorded session.
Replayer::Reached RealTimePace(Clock& live) {
    struct Pace {
        bool started = false;
        std::uint32_t offset = 0;  // live tick minus recorded tick
    };
    return [&live, pace = Pace{}](std::uint32_t tick) mutable {
        if (!pace.started) {
            pace.started = true;
            pace.offset = live.now() - tick;
        }
        for (;;) {
            const auto remaining = static_cast<std::int32_t>(tick + pace.offset - live.now());
            if (remaining <= 0) return;
            live.sleep(static_cast<std::uint32_t>(std::min(remaining, 10)));
        }
    };
}

}  // namespace

bool ReadRecordingFile(const std::string& path, Recording& recording, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read the recording " + path;
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    if (!ParseRecording(text.str(), recording, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool Session::begin(const Options& options, SettingsStore& settings, Replayer::Reached reached, std::string& error) {
    liveClock_ = &ActiveClock();
    liveInput_ = &ActiveInput();
    liveSettings_ = &settings;
    if (!options.recordPath.empty()) {
        recorder_ = std::make_unique<Recorder>(*liveClock_, *liveInput_, settings);
        if (!recorder_->open(options.recordPath, error)) return false;
        SetActiveClock(recorder_.get());
        SetActiveInput(recorder_.get());
        SetActiveSettingsStore(recorder_.get());
    } else if (!options.replayPath.empty()) {
        Recording recording;
        if (!ReadRecordingFile(options.replayPath, recording, error)) return false;
        if (!reached) reached = RealTimePace(*liveClock_);
        replayer_ = std::make_unique<Replayer>(std::move(recording), options.replayPath, *liveInput_, reached);
        SetActiveClock(replayer_.get());
        SetActiveInput(replayer_.get());
        SetActiveSettingsStore(replayer_.get());
    }
    return true;
}

void Session::end() {
    if (recorder_ || replayer_) {
        SetActiveClock(liveClock_);
        SetActiveInput(liveInput_);
        SetActiveSettingsStore(liveSettings_);
    }
    recorder_.reset();
    replayer_.reset();
}

}  // namespace recording
