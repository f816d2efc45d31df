// The session's recording or replay, set up from the command line between
// opening the backend and starting the program. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/settings_store.h"
#include "shell/options.h"
#include "shell/recording/recorder.h"
#include "shell/recording/replayer.h"

namespace recording {

class Session {
public:
    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() { end(); }

    // With --record, puts a recorder in front of the active clock and input
    // and `settings`; with --replay, a replayer in their place. `reached` moves
    // a virtual clock on to each replayed reading; without one, the replay
    // keeps the recording's pace on the live clock. False with `error` when
    // a file cannot be made or read.
    bool begin(const Options& options, platform::SettingsStore& settings, Replayer::Reached reached,
               std::string& error);

    // Puts the live families back and writes the recording's end. Before the
    // backend and `settings` go.
    void end();

private:
    platform::Clock* liveClock_ = nullptr;
    platform::Input* liveInput_ = nullptr;
    platform::SettingsStore* liveSettings_ = nullptr;
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<Replayer> replayer_;
};

// Reads the recording at `path`; false with `error` naming the file and line.
bool ReadRecordingFile(const std::string& path, Recording& recording, std::string& error);

}  // namespace recording
