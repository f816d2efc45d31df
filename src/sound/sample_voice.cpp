#include "sound/sample_voice.h"

#include "sound/sample.h"

void SampleVoice::startSample(const Sample& sample, std::uint32_t outputRate) {
    data_ = sample.data();
    step_ = stepFor(sample.rate(), outputRate);
    position_ = 0;
    length_ = sample.length() << 8;
    setLoop(sample.loop());
    pan_ = sample.pan();
    setVolume(static_cast<int>(sample.volume()));
    begin();
}
