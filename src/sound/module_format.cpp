#include "sound/module_format.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t BigEndianWord(const std::uint8_t* b) { return static_cast<std::uint32_t>((b[0] << 8) | b[1]); }

}  // namespace

// FIX: negative finetunes select the rows tuned that far down (stored 15,
// -1/8, plays row 8; stored 8, -8/8, plays row 15), so stored modules play in
// the tuning their authors gave them.
std::uint32_t FinetuneRow(std::uint8_t stored) {
    const std::uint32_t nibble = stored & 0x0F;
    return nibble < 8 ? nibble : 23 - nibble;
}

void ReadSongHeader(const std::uint8_t* image, std::size_t size, SongHeader& header) {
    // A truncated image reads as if zero-padded to the full header.
    std::uint8_t head[kPatternsOffset] = {};
    if (image != nullptr) std::memcpy(head, image, std::min(size, kPatternsOffset));
    if (image == nullptr) size = 0;

    header.songLength = std::min<std::uint32_t>(head[kSongLengthOffset], kOrderCount);
    const std::uint32_t restart = head[kRestartOffset];
    header.restart = restart != 127 && restart < header.songLength ? restart : 0;
    std::memcpy(header.orders.data(), head + kOrderTableOffset, kOrderCount);

    std::uint32_t highest = 0;
    for (std::uint32_t i = 0; i < header.songLength; ++i) highest = std::max<std::uint32_t>(highest, header.orders[i]);
    header.patternCount = highest + 1;

    header.samples[0] = SampleInfo{};
    std::size_t offset = SampleDataOffset(header.patternCount);
    for (std::uint32_t i = 1; i < kSampleSlots; ++i) {
        const std::uint8_t* h = head + kSampleHeadersOffset + kSampleHeaderBytes * (i - 1);
        SampleInfo& sample = header.samples[i];
        sample = SampleInfo{};
        const std::uint32_t words = BigEndianWord(h + 22);
        if (words == 0) continue;
        const std::size_t stated = 2 * std::size_t{words};
        // FIX: data past the image's end is cut off, and a loop that runs past
        // the end of its sample is cut to that end, so the replay never reads
        // outside the sample (trackers write such loops; the loop's length
        // would otherwise be taken as written).
        const std::size_t present = offset < size ? std::min(stated, size - offset) : 0;
        if (present != 0) {
            sample.length = static_cast<std::uint32_t>(present << 8);
            sample.data = reinterpret_cast<const std::int8_t*>(image + offset);
            const std::uint32_t repeatWords = BigEndianWord(h + 28);
            const std::uint32_t repeatStart = BigEndianWord(h + 26) << 9;
            if (repeatWords > 1 && repeatStart < sample.length) {
                sample.repeatStart = repeatStart;
                sample.repeatLength = std::min(repeatWords << 9, sample.length - repeatStart);
            }
        }
        sample.defaultVolume = h[25];
        sample.finetune = FinetuneRow(h[24]);
        offset += stated;
    }
}
