// Replays a recording: answers the program's clock, input and settings calls
// from the file (recording_format.h), in order, so the program goes through
// the recorded session again. Main thread only.
//
// The live backend underneath still runs: each clock reading is handed to
// `reached` (the headless clock moves on to it, so sound capture and
// screenshots follow; a window waits for it in real time), and a close
// request from the backend (the close box, --until) ends the replay early.
// When the file runs out (a session cut off by a crash) the program is sent
// a close request. Settings are read from the file and never saved.
#pragma once

#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/settings_store.h"
#include "shell/recording/recording_format.h"

namespace recording {

class Replayer final : public platform::Clock, public platform::Input, public platform::SettingsStore {
public:
    using Reached = std::function<void(std::uint32_t tick)>;
    // `input` is the live backend's, and outlives the replayer.
    Replayer(Recording recording, std::string path, platform::Input& input, Reached reached);

    std::uint32_t now() override;
    void sleep(std::uint32_t) override {}
    void waitForPass(std::uint32_t, bool) override {}

    bool takeEvent(platform::InputEvent& event) override;
    bool keyHeld(int key) override;

    void load() override {}
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view, std::string_view, std::string_view) override {}
    bool save() override { return true; }

private:
    // The next entry, which must be of `kind` (else the program and the
    // recording went apart: said on stderr, exit 2); null once the replay is over.
    const Entry* next(Entry::Kind kind) const;
    void liveCloseEndsReplay();

    Recording recording_;
    std::string path_;
    platform::Input& input_;
    Reached reached_;
    mutable std::size_t next_ = 0;
    mutable bool over_ = false;
    bool closeSent_ = false;
    std::uint32_t lastTick_ = 0;
};

}  // namespace recording
