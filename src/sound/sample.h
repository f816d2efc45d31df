// One sound effect: 8-bit unsigned mono PCM with its rate, and the volume,
// pan and loop flag it is started with. Loaded from a RIFF WAVE file (the
// data is copied and owned) or from a "WAVE" resource (the data stays in the
// resource). Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

class Sample {
public:
    Sample() = default;
    virtual ~Sample();
    Sample(const Sample&) = delete;
    Sample& operator=(const Sample&) = delete;

    // 1 on success, 0 on failure. A relative name is taken from the folder of
    // the running executable.
    int loadFile(const char* name);
    // From the resource of type "WAVE" numbered id (low 16 bits).
    int loadResource(void* module, std::uint32_t id);
    // From a WAVE image in memory, used in place: `bytes` must outlive the
    // sample. Nothing outside the `size` bytes is read. 1 or 0.
    int loadImage(const std::uint8_t* bytes, std::size_t size);
    // Frees owned data; data in a resource is left as it is.
    void release();

    void setVolume(int v);  // out of range: 64
    std::uint32_t volume() const { return volume_; }
    void setLoop(bool on) { loop_ = on; }
    bool loop() const { return loop_; }
    void setPan(int p);  // out of range: 255
    std::uint32_t pan() const { return pan_; }

    const std::uint8_t* data() const { return data_; }
    std::uint32_t rate() const { return rate_; }
    std::uint32_t length() const { return length_; }

private:
    int loadOpenFile(std::FILE* file);

    const std::uint8_t* data_ = nullptr;
    std::uint32_t rate_ = 0;
    std::uint32_t length_ = 0;
    std::uint32_t volume_ = 64;
    bool loop_ = false;
    std::uint32_t pan_ = 128;
    bool ownsData_ = false;
};

constexpr int kSampleTableSlots = 15;

// The program's table of sample slots, built and destroyed with soundSystem
// (ConstructSoundObjects and DestroySoundObjects in sound/sound_system.h).
extern Sample (&samples)[kSampleTableSlots];
