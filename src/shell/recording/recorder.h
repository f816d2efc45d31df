// Records a session: stands in front of the clock, the input and the
// settings store, passes every call through, and writes each answer the
// program got to the recording file (recording_format.h), one flushed line
// at a time, so that a crash leaves every whole line. Main thread only.
#pragma once

#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/settings_store.h"
#include "shell/recording/recording_format.h"

namespace recording {

class Recorder final : public platform::Clock, public platform::Input, public platform::SettingsStore {
public:
    // Records the answers of `clock`, `input` and `settings`, which outlive it.
    Recorder(platform::Clock& clock, platform::Input& input, platform::SettingsStore& settings);
    ~Recorder() override;  // writes "end"

    // Starts the file at `path` with its header; false with `error` when it cannot be made.
    bool open(const std::string& path, std::string& error);

    std::uint32_t now() override;
    void sleep(std::uint32_t milliseconds) override { clock_.sleep(milliseconds); }
    void waitForPass(std::uint32_t due, bool idle) override { clock_.waitForPass(due, idle); }

    bool takeEvent(platform::InputEvent& event) override;
    bool keyHeld(int key) override;

    void load() override { settings_.load(); }
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, std::string_view text, std::string_view note) override {
        settings_.setValue(name, text, note);
    }
    bool save() override { return settings_.save(); }

private:
    void write(const std::string& line) const;

    platform::Clock& clock_;
    platform::Input& input_;
    platform::SettingsStore& settings_;
    std::FILE* file_ = nullptr;
};

}  // namespace recording
