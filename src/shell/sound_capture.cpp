#include "shell/sound_capture.h"

#include "shell/lost_output.h"

bool WavCapture::open(const platform::AudioFormat& format) {
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) {
        // FIX: a capture that cannot be made fails the run (exit 1), as a
        // trace that cannot be made does.
        ReportLostOutput("sound capture", path_);
        return false;
    }
    writer_.emplace(file_, wave::Format{format.rate, format.channels, 8}, 0, wave::Padding::none);
    return true;
}

void WavCapture::write(const std::uint8_t* bytes, std::size_t count) {
    if (writer_) writer_->write(bytes, count);
}

void WavCapture::close() {
    if (file_ == nullptr) return;
    // FIX: a capture that lost sound on the way (a full disk, a failed
    // flush at close) is reported, and the run fails.
    const bool finished = writer_->finish();
    writer_.reset();
    if (std::fclose(file_) != 0 || !finished) ReportLostOutput("sound capture", path_);
    file_ = nullptr;
}
