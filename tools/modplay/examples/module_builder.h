// Writes four-track, 31-sample module images from a few lines of pattern
// text, for the replay's tests, its fuzz corpus and the example songs.
//
// A row is up to four cells separated by '|', each "NOTE SS EPP": the note
// as a name ("C-2", "F#3"; C-2 is period 428) or a period in decimal ("428"),
// "---" for none; SS the sample number and EPP the effect and its parameter,
// both in hex. "C-2 01 C40 | --- 00 000" sets track 0 and leaves 1..3 empty.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace modwrite {

struct SampleSpec {
    std::string name;
    std::vector<std::int8_t> data;  // an even number of bytes
    std::uint8_t finetune = 0;      // stored as it is, 0..15 (or any byte, to test)
    std::uint8_t volume = 64;
    std::uint16_t repeatStartWords = 0;
    std::uint16_t repeatLengthWords = 0;  // 0 or 1: no loop
};

class ModuleBuilder {
public:
    ModuleBuilder& title(const std::string& text);
    ModuleBuilder& sample(int number, const SampleSpec& spec);  // number 1..31
    // Rows by number; rows not given are empty.
    ModuleBuilder& pattern(int number, const std::map<int, std::string>& rows);
    ModuleBuilder& orders(const std::vector<int>& orders);  // also sets the song length
    ModuleBuilder& songLengthByte(int value);               // overrides the length written
    ModuleBuilder& restart(int value);

    // The image: header, as many patterns as the played orders name (the
    // ones not defined empty), then the sample data.
    std::vector<std::uint8_t> build() const;

private:
    std::string title_ = "test";
    std::map<int, SampleSpec> samples_;
    std::map<int, std::vector<std::uint8_t>> patterns_;
    std::vector<int> orders_ = {0};
    int songLength_ = -1;
    int restart_ = 127;
};

// The period of a note name such as "C-2" or "A#3" (untuned), 0 for "---".
std::uint32_t NotePeriod(const std::string& name);

// A sample of `bytes` bytes holding a square wave of `period` bytes at `amplitude`.
std::vector<std::int8_t> SquareWave(std::size_t bytes, std::size_t period, std::int8_t amplitude = 100);
// A sample of `bytes` bytes, all `value`: its output shows the volume applied.
std::vector<std::int8_t> Constant(std::size_t bytes, std::int8_t value);
// A looping sample of 64 bytes, all `value`: each frame shows whether its
// track sounds, and how loud.
SampleSpec Steady(std::uint8_t volume = 64, std::uint8_t finetune = 0, std::int8_t value = 100);
// A sample whose byte i is i & 127: its output shows where the position is.
std::vector<std::int8_t> Ramp(std::size_t bytes);

}  // namespace modwrite
