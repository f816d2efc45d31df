// One tracker module: the whole image of a four-track, 31-sample module file,
// loaded whole from a file or used in place from a "PTMOD" resource, with the
// volume, loop flag and stereo separation it is started with. Nothing is
// examined at load time. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>

class Module {
public:
    Module() = default;
    virtual ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    int loadFile(const char* name);                    // 1 or 0
    int loadResource(void* module, std::uint32_t id);  // 1 or 0
    void release();
    // Uses `size` bytes that the caller keeps in place and frees (a module
    // made or mapped in memory); the module does not own them.
    void useImage(const std::uint8_t* data, std::size_t size);

    void setVolume(int v);  // out of range: 64
    std::uint32_t volume() const { return volume_; }
    void setLoop(bool on) { loop_ = on; }
    bool loop() const { return loop_; }
    void setSeparation(int s);  // out of range: 255
    std::uint32_t separation() const { return separation_; }

    const std::uint8_t* data() const { return data_; }
    // Bytes of the image: the replay reads nothing at or past this size.
    std::size_t size() const { return size_; }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::uint32_t volume_ = 64;
    bool loop_ = false;
    std::uint32_t separation_ = 255;
    bool ownsData_ = false;
};
