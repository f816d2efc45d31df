#include "song_info.h"

#include <algorithm>

#include "sound/module_format.h"
#include "sound/song_player.h"

namespace modplay {

namespace {

constexpr std::uint32_t kInfoRate = 44100;

std::string Text(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && bytes[i] != 0; ++i)
        text += bytes[i] >= 32 && bytes[i] < 127 ? static_cast<char>(bytes[i]) : '.';
    return text;
}

std::uint32_t Word(const std::uint8_t* b) { return static_cast<std::uint32_t>((b[0] << 8) | b[1]); }

// The file's finetune nibble is signed: eighths of a semitone, -8..7.
int SignedFinetune(std::uint32_t stored) {
    return stored < 8 ? static_cast<int>(stored) : static_cast<int>(stored) - 16;
}

}  // namespace

std::string FormatTime(std::uint64_t frames, std::uint32_t rate) {
    const std::uint64_t tenths = frames * 10 / rate;
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu.%llu", static_cast<unsigned long long>(tenths / 600),
                  static_cast<unsigned long long>(tenths / 10 % 60), static_cast<unsigned long long>(tenths % 10));
    return text;
}

void PrintSongInfo(std::FILE* out, const Module& module) {
    const std::uint8_t* image = module.data();
    SongHeader header;
    ReadSongHeader(image, module.size(), header);

    std::fprintf(out, "title:       %s\n", Text(image, 20).c_str());
    std::fprintf(out, "song length: %u orders, restart at %u\n", header.songLength, header.restart);
    std::fprintf(out, "patterns:    %u\n", header.patternCount);
    std::fprintf(out, "duration:    %s\n", FormatTime(SongFrames(module, kInfoRate), kInfoRate).c_str());
    std::fprintf(out, "samples:\n   # name                    length  loop start+length  volume finetune\n");
    for (std::uint32_t i = 1; i < kSampleSlots; ++i) {
        const std::uint8_t* h = image + kSampleHeadersOffset + kSampleHeaderBytes * (i - 1);
        const std::string name = Text(h, 22);
        const std::uint32_t bytes = 2 * Word(h + 22);
        if (bytes == 0 && name.empty()) continue;
        const std::uint32_t repeatWords = Word(h + 28);
        char loop[32] = "-";
        if (repeatWords > 1) std::snprintf(loop, sizeof loop, "%u+%u", 2 * Word(h + 26), 2 * repeatWords);
        std::fprintf(out, "  %2u %-22s %7u  %-17s %6u %8d\n", i, name.c_str(), bytes, loop, h[25],
                     SignedFinetune(h[24] & 0x0F));
    }
}

}  // namespace modplay
