#include "graphics/volume_overlay.h"

#include <cstring>
#include <string_view>

#include "platform/clock.h"

using namespace platform;

namespace {

// The letters the overlay writes, from the program's own 5-pixel lettering.
struct Glyph {
    char letter;
    const char* rows[5];
};
// clang-format off
constexpr Glyph kGlyphs[] = {
    {'A', {".##.",  "#..#",  "####",  "#..#",  "#..#"}},
    {'D', {"###.",  "#..#",  "#..#",  "#..#",  "###."}},
    {'E', {"####",  "#...",  "###.",  "#...",  "####"}},
    {'F', {"####",  "#...",  "###.",  "#...",  "#..."}},
    {'I', {"###",   ".#.",   ".#.",   ".#.",   "###"}},
    {'L', {"#...",  "#...",  "#...",  "#...",  "####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
    {'N', {"#..#",  "##.#",  "#.##",  "#..#",  "#..#"}},
    {'O', {".##.",  "#..#",  "#..#",  "#..#",  ".##."}},
    {'R', {"###.",  "#..#",  "###.",  "#.#.",  "#..#"}},
    {'S', {".###",  "#...",  ".##.",  "...#",  "###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#..#",  "#..#",  "#..#",  "#..#",  ".##."}},
    {'V', {"#..#",  "#..#",  "#..#",  ".##.",  ".##."}},
    {':', {".",     "#",     ".",     "#",     "."}},
    {'+', {"...",   ".#.",   "###",   ".#.",   "..."}},
    {' ', {"..",    "..",    "..",    "..",    ".."}},
};
// clang-format on
constexpr int kGlyphHeight = 5;

const Glyph* FindGlyph(char letter) {
    for (const Glyph& glyph : kGlyphs)
        if (glyph.letter == letter) return &glyph;
    return nullptr;
}

int TextWidth(std::string_view text) {
    int width = 0;
    for (char letter : text)
        if (const Glyph* glyph = FindGlyph(letter)) width += static_cast<int>(std::strlen(glyph->rows[0])) + 1;
    return width > 0 ? width - 1 : 0;
}

void Fill(OverlayPicture& picture, int left, int top, int width, int height, OverlayInk ink) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x) picture.at(x, y) = ink;
}

void Write(OverlayPicture& picture, int left, int top, std::string_view text) {
    for (char letter : text) {
        const Glyph* glyph = FindGlyph(letter);
        if (glyph == nullptr) continue;
        const int width = static_cast<int>(std::strlen(glyph->rows[0]));
        for (int y = 0; y < kGlyphHeight; ++y)
            for (int x = 0; x < width; ++x)
                if (glyph->rows[y][x] == '#') picture.at(left + x, top + y) = OverlayInk::Text;
        left += width + 1;
    }
}

// A shaded box with a line of text in the middle of the frame's width.
void Caption(OverlayPicture& picture, int top, std::string_view text) {
    const int width = TextWidth(text) + 8;
    const int left = (kScreenWidth - width) / 2;
    Fill(picture, left, top, width, kGlyphHeight + 6, OverlayInk::Shade);
    Write(picture, left + 4, top + 3, text);
}

// "VOL" and an outlined bar filled in proportion, near the foot of the frame.
void LevelBar(OverlayPicture& picture, int volume, int maxVolume) {
    constexpr int kLeft = 28, kTop = 198, kWidth = 120, kHeight = 13;
    constexpr int kBarLeft = kLeft + 20, kBarWidth = kWidth - 24;
    Fill(picture, kLeft, kTop, kWidth, kHeight, OverlayInk::Shade);
    Write(picture, kLeft + 4, kTop + 4, "VOL");
    Fill(picture, kBarLeft, kTop + 3, kBarWidth, 7, OverlayInk::Text);
    Fill(picture, kBarLeft + 1, kTop + 4, kBarWidth - 2, 5, OverlayInk::Shade);
    const int filled = (kBarWidth - 4) * volume / maxVolume;
    Fill(picture, kBarLeft + 2, kTop + 5, filled, 3, OverlayInk::Bar);
}

}  // namespace

void VolumeOverlay::report(std::uint32_t now, int volume, int maxVolume, bool onTitle) {
    onTitle_ = onTitle;
    maxVolume_ = maxVolume > 0 ? maxVolume : 1;
    if (!started_) {
        started_ = true;
        start_ = now;
        silentStart_ = volume == 0;
    } else if (volume != volume_) {
        changed_ = true;
        lastChange_ = now;
    }
    volume_ = volume < 0 ? 0 : volume > maxVolume_ ? maxVolume_ : volume;
}

bool VolumeOverlay::barVisible(std::uint32_t now) const {
    return changed_ && !TickReached(now, lastChange_ + kVolumeBarMs);
}

bool VolumeOverlay::noteVisible(std::uint32_t now) const {
    return silentStart_ && onTitle_ && volume_ == 0 && !TickReached(now, start_ + kSoundOffNoteMs);
}

bool VolumeOverlay::visible(std::uint32_t now) const { return barVisible(now) || noteVisible(now); }

void VolumeOverlay::paint(std::uint32_t now, OverlayPicture& picture) const {
    picture.ink.fill(OverlayInk::None);
    // The game writes in capitals only.
    if (noteVisible(now)) Caption(picture, 164, "SOUND OFF: + TO RAISE");
    if (barVisible(now)) LevelBar(picture, volume_, maxVolume_);
}
