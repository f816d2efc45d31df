#include "module_builder.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "sound/module_format.h"
#include "sound/period_table.h"

namespace modwrite {

namespace {

void PutWord(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t value) {
    image[at] = static_cast<std::uint8_t>(value >> 8);
    image[at + 1] = static_cast<std::uint8_t>(value);
}

std::uint32_t ParseHex(const std::string& text) { return static_cast<std::uint32_t>(std::stoul(text, nullptr, 16)); }

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void WriteCell(std::uint8_t* cell, const std::string& text) {
    std::istringstream in(text);
    std::string note, sample, effect;
    in >> note >> sample >> effect;
    if (note.empty()) return;
    const std::uint32_t period =
        note.find_first_not_of("0123456789") == std::string::npos ? std::stoul(note) : NotePeriod(note);
    const std::uint32_t number = sample.empty() ? 0 : ParseHex(sample);
    const std::uint32_t command = effect.empty() ? 0 : ParseHex(effect);
    cell[0] = static_cast<std::uint8_t>((number & 0xF0) | ((period >> 8) & 0x0F));
    cell[1] = static_cast<std::uint8_t>(period);
    cell[2] = static_cast<std::uint8_t>(((number & 0x0F) << 4) | ((command >> 8) & 0x0F));
    cell[3] = static_cast<std::uint8_t>(command);
}

}  // namespace

std::uint32_t NotePeriod(const std::string& name) {
    if (name == "---" || name == "...") return 0;
    static const char* const kNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    for (int semitone = 0; semitone < 12; ++semitone) {
        if (name.compare(0, 2, kNames[semitone]) == 0) {
            const int octave = name[2] - '0';
            if (octave < 0 || octave > 5) break;
            return periodTable[static_cast<std::size_t>(octave * 12 + semitone)];
        }
    }
    throw std::invalid_argument("not a note: " + name);
}

ModuleBuilder& ModuleBuilder::title(const std::string& text) {
    title_ = text;
    return *this;
}

ModuleBuilder& ModuleBuilder::sample(int number, const SampleSpec& spec) {
    samples_[number] = spec;
    return *this;
}

ModuleBuilder& ModuleBuilder::pattern(int number, const std::map<int, std::string>& rows) {
    std::vector<std::uint8_t>& bytes = patterns_[number];
    bytes.assign(kPatternBytes, 0);
    for (const auto& [row, text] : rows) {
        std::size_t start = 0;
        for (std::uint32_t track = 0; track < kTracks && start <= text.size(); ++track) {
            std::size_t bar = text.find('|', start);
            if (bar == std::string::npos) bar = text.size();
            WriteCell(&bytes[kRowBytes * static_cast<std::size_t>(row) + kCellBytes * track],
                      Trim(text.substr(start, bar - start)));
            start = bar + 1;
        }
    }
    return *this;
}

ModuleBuilder& ModuleBuilder::orders(const std::vector<int>& orders) {
    orders_ = orders;
    return *this;
}

ModuleBuilder& ModuleBuilder::songLengthByte(int value) {
    songLength_ = value;
    return *this;
}

ModuleBuilder& ModuleBuilder::restart(int value) {
    restart_ = value;
    return *this;
}

std::vector<std::uint8_t> ModuleBuilder::build() const {
    std::vector<std::uint8_t> image(kPatternsOffset, 0);
    std::memcpy(image.data(), title_.data(), std::min<std::size_t>(title_.size(), 20));
    for (const auto& [number, spec] : samples_) {
        const std::size_t at = kSampleHeadersOffset + kSampleHeaderBytes * static_cast<std::size_t>(number - 1);
        std::memcpy(&image[at], spec.name.data(), std::min<std::size_t>(spec.name.size(), 22));
        PutWord(image, at + 22, static_cast<std::uint32_t>(spec.data.size() / 2));
        image[at + 24] = spec.finetune;
        image[at + 25] = spec.volume;
        PutWord(image, at + 26, spec.repeatStartWords);
        PutWord(image, at + 28, spec.repeatLengthWords);
    }
    const int length = songLength_ >= 0 ? songLength_ : static_cast<int>(orders_.size());
    image[kSongLengthOffset] = static_cast<std::uint8_t>(length);
    image[kRestartOffset] = static_cast<std::uint8_t>(restart_);
    for (std::size_t i = 0; i < orders_.size() && i < kOrderCount; ++i)
        image[kOrderTableOffset + i] = static_cast<std::uint8_t>(orders_[i]);
    std::memcpy(&image[kSignatureOffset], "M.K.", 4);

    // As many patterns as the played orders name, as a player counts them.
    int patternCount = 1;
    for (int i = 0; i < std::min(length, 128) && i < static_cast<int>(orders_.size()); ++i)
        patternCount = std::max(patternCount, orders_[static_cast<std::size_t>(i)] + 1);
    for (int p = 0; p < patternCount; ++p) {
        const auto found = patterns_.find(p);
        if (found != patterns_.end())
            image.insert(image.end(), found->second.begin(), found->second.end());
        else
            image.insert(image.end(), kPatternBytes, 0);
    }
    for (const auto& [number, spec] : samples_)
        for (std::int8_t byte : spec.data) image.push_back(static_cast<std::uint8_t>(byte));
    return image;
}

std::vector<std::int8_t> SquareWave(std::size_t bytes, std::size_t period, std::int8_t amplitude) {
    std::vector<std::int8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        data[i] = (i % period) < period / 2 ? amplitude : static_cast<std::int8_t>(-amplitude);
    return data;
}

std::vector<std::int8_t> Constant(std::size_t bytes, std::int8_t value) {
    return std::vector<std::int8_t>(bytes, value);
}

SampleSpec Steady(std::uint8_t volume, std::uint8_t finetune, std::int8_t value) {
    return {
        .name = "steady", .data = Constant(64, value), .finetune = finetune, .volume = volume, .repeatLengthWords = 32};
}

std::vector<std::int8_t> Ramp(std::size_t bytes) {
    std::vector<std::int8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<std::int8_t>(i & 127);
    return data;
}

}  // namespace modwrite
