#include "platform/null/null_audio_out.h"

namespace platform::null {

namespace {

class NoAudioOut final : public AudioOut {
public:
    bool open(const AudioFormat&, AudioSource&) override { return false; }
    void pause() override {}
    void resume() override {}
    void close() override {}
};

}  // namespace

AudioOut& NullAudioOut() {
    static NoAudioOut device;
    return device;
}

}  // namespace platform::null
