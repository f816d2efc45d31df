// The sound capture of a headless run (--wav): a WAV file of everything the
// sound device played, its sizes filled in when the device closes. Written
// without RIFF's pad byte, as it always was. Main thread only.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "platform/headless/headless_backend.h"
#include "sound/wave_writer.h"

class WavCapture final : public platform::headless::SoundCapture {
public:
    explicit WavCapture(std::string path) : path_(std::move(path)) {}

    bool open(const platform::AudioFormat& format) override;
    void write(const std::uint8_t* bytes, std::size_t count) override;
    void close() override;

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::optional<wave::Writer> writer_;
};
