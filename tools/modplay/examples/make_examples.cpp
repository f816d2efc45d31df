// Writes the player's example songs, and the module fuzzer's seed corpus,
// from pattern text: orbitfend-modplay-examples EXAMPLEDIR [CORPUSDIR].
// Together the songs use every effect of the format; the first three were
// written before the rest and stay as they are, byte for byte.
#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "module_builder.h"

using modwrite::ModuleBuilder;
using modwrite::SampleSpec;

namespace {

// One cycle of each wave, `length` bytes, repeated `cycles` times.
std::vector<std::int8_t> Wave(std::size_t length, std::size_t cycles, double (*shape)(double), double level) {
    std::vector<std::int8_t> data;
    for (std::size_t c = 0; c < cycles; ++c)
        for (std::size_t i = 0; i < length; ++i)
            data.push_back(static_cast<std::int8_t>(std::lround(level * shape(static_cast<double>(i) / length))));
    return data;
}
double Square(double t) { return t < 0.5 ? 1.0 : -1.0; }
double Triangle(double t) { return t < 0.5 ? 4 * t - 1 : 3 - 4 * t; }
double Saw(double t) { return 2 * t - 1; }
double Sine(double t) { return std::sin(6.283185307179586 * t); }

// A decaying noise burst: the drum.
std::vector<std::int8_t> Noise(std::size_t bytes, unsigned seed) {
    std::vector<std::int8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double level = 110.0 * (1.0 - static_cast<double>(i) / bytes);
        data[i] = static_cast<std::int8_t>(std::lround(level * (static_cast<int>((seed >> 16) & 0xFF) - 128) / 128.0));
    }
    return data;
}

SampleSpec Looping(const std::string& name, std::vector<std::int8_t> data, std::uint8_t volume,
                   std::uint8_t finetune = 0) {
    const auto words = static_cast<std::uint16_t>(data.size() / 2);
    return {.name = name,
            .data = std::move(data),
            .finetune = finetune,
            .volume = volume,
            .repeatStartWords = 0,
            .repeatLengthWords = words};
}

// "Orbit march": a looping tune with arpeggio chords over a walking bass and a drum.
std::vector<std::uint8_t> OrbitMarch() {
    ModuleBuilder song;
    song.title("orbit march")
        .sample(1, Looping("square lead", Wave(32, 2, Square, 60), 40))
        .sample(2, Looping("triangle bass", Wave(64, 1, Triangle, 110), 40))
        .sample(3, {.name = "noise drum", .data = Noise(2400, 7), .volume = 40})
        .sample(4, Looping("sine pad", Wave(64, 1, Sine, 90), 32, 15));
    const char* bassA[] = {"C-1", "C-1", "G-1", "G-1", "A-1", "A-1", "F-1", "G-1"};
    const char* bassB[] = {"F-1", "F-1", "C-1", "C-1", "D-1", "D-1", "G-1", "G-1"};
    std::map<int, std::string> a, b, c;
    for (int bar = 0; bar < 8; ++bar) {
        const int r = bar * 8;
        a[r] = std::string(bassA[bar]) + " 02 000 | C-3 01 " + (bar % 2 ? "037" : "047") + " | C-2 03 000 | C-3 04 000";
        a[r + 4] = std::string("--- 00 000 | --- 00 000 | C-2 03 C20");
        b[r] = std::string(bassB[bar]) + " 02 000 | F-3 01 " + (bar % 2 ? "038" : "047") + " | C-2 03 000 | A-3 04 A01";
        b[r + 4] = std::string(bassB[bar]) + " 02 C30 | --- 00 000 | C-2 03 C20";
        c[r] = std::string(bassA[bar]) + " 02 000 | G-3 01 " + (bar < 4 ? "047" : "037") + " | C-2 03 000 | --- 00 A02";
        c[r + 2] = "--- 00 000 | --- 00 000 | C-2 03 C18";
        c[r + 6] = "--- 00 000 | --- 00 000 | C-2 03 C28";
    }
    c[63] = "--- 00 000 | --- 00 000 | --- 00 000 | --- 00 B01";  // back to the second order
    return song.pattern(0, a).pattern(1, b).pattern(2, c).orders({0, 1, 0, 2}).build();
}

// "Slide study": portamentos, tone portamento, vibrato and volume slides.
std::vector<std::uint8_t> SlideStudy() {
    ModuleBuilder song;
    song.title("slide study")
        .sample(1, Looping("saw", Wave(32, 2, Saw, 80), 48))
        .sample(2, Looping("square", Wave(32, 2, Square, 50), 40, 1));
    // clang-format off
    std::map<int, std::string> p0 = {
        {0, "C-2 01 000 | C-1 02 000"},
        {4, "--- 00 104 | --- 00 000"},
        {8, "--- 00 204 | G-1 02 000"},
        {12, "C-2 01 000 | --- 00 000"},
        {16, "G-2 01 308 | C-1 02 000"},
        {20, "--- 00 300 | --- 00 000"},
        {24, "C-3 01 308 | G-1 02 000"},
        {28, "--- 00 504 | --- 00 000"},
        {32, "E-2 01 446 | C-1 02 000"},
        {36, "--- 00 400 | --- 00 000"},
        {40, "--- 00 48C | --- 00 000"},
        {44, "--- 00 601 | G-1 02 000"},
        {48, "C-2 01 A20 | C-2 02 000"},
        {52, "--- 00 A04 | --- 00 000"},
        {56, "A-2 01 000 | --- 00 A02"},
        {60, "--- 00 EA8 | --- 00 EB8"},
    };
    // clang-format on
    return song.pattern(0, p0).orders({0}).build();
}

// "Tempo tricks": speed and tempo changes, breaks, delays, cuts, offsets.
std::vector<std::uint8_t> TempoTricks() {
    ModuleBuilder song;
    std::vector<std::int8_t> sweep;
    for (int page = 0; page < 8; ++page) {
        const auto part = Wave(16 + 8 * page, 256 / (16 + 8 * page) + 1, Triangle, 100);
        sweep.insert(sweep.end(), part.begin(), part.begin() + 256);
    }
    song.title("tempo tricks")
        .sample(1, {.name = "sweep pages", .data = sweep, .volume = 56})
        .sample(2, {.name = "noise drum", .data = Noise(1600, 3), .volume = 50})
        .sample(3, Looping("square", Wave(16, 4, Square, 60), 36));
    std::map<int, std::string> p0, p1;
    for (int r = 0; r < 32; r += 4) p0[r] = "C-2 02 000 | C-2 01 9" + std::to_string(r / 4) + "0";
    p0[0] += " | C-3 03 F04";
    p0[8] = "C-2 02 000 | C-2 01 920 | E-3 03 F96";
    p0[16] = "C-2 02 ED2 | C-2 01 940 | G-3 03 EC3";
    p0[24] = "C-2 02 000 | C-2 01 960 | C-4 03 EE1";
    p0[31] = "--- 00 000 | --- 00 000 | --- 00 000 | --- 00 D08";
    for (int r = 0; r < 64; r += 2)
        p1[r] = r % 8 == 0 ? "C-2 02 000 | --- 00 000 | C-3 03 000" : "--- 00 000 | --- 00 000 | G-2 03 000";
    p1[0] = "C-2 02 F06 | --- 00 000 | C-3 03 F7D";
    p1[32] = "C-2 02 F02 | C-1 01 000 | C-3 03 000";
    return song.pattern(0, p0).pattern(1, p1).orders({0, 1, 0}).build();
}

// A decaying triangle tone of `bytes` bytes, `period` bytes a cycle: where a
// sample offset or a retrigger lands in it is heard in its loudness.
std::vector<std::int8_t> Pluck(std::size_t bytes, std::size_t period) {
    std::vector<std::int8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
        const double level = 110.0 * (1.0 - static_cast<double>(i) / bytes);
        data[i] = static_cast<std::int8_t>(std::lround(level * Triangle(static_cast<double>(i % period) / period)));
    }
    return data;
}

// A pattern held as cells, so that a run of one track's effects is written
// apart from the rows that hold the tune; empty cells stay empty.
class Grid {
public:
    Grid() = default;
    // Rows written whole, as the builder reads them: up to four cells between '|'.
    Grid(std::initializer_list<std::pair<const int, std::string>> rows) {
        for (const auto& [row, text] : rows) {
            std::size_t start = 0;
            for (std::size_t track = 0; track < 4 && start <= text.size(); ++track) {
                std::size_t bar = text.find('|', start);
                if (bar == std::string::npos) bar = text.size();
                cells_[row][track] = text.substr(start, bar - start);
                start = bar + 1;
            }
        }
    }
    // `cell` on track `track` in rows first..last, every `every` rows.
    Grid& run(int track, int first, int last, const std::string& cell, int every = 1) {
        for (int row = first; row <= last; row += every) cells_[row][static_cast<std::size_t>(track)] = cell;
        return *this;
    }
    std::map<int, std::string> rows() const {
        std::map<int, std::string> text;
        for (const auto& [row, cells] : cells_) {
            std::string line;
            for (std::size_t track = 0; track < 4; ++track)
                line += (track ? " | " : "") + (cells[track].empty() ? std::string("--- 00 000") : cells[track]);
            text[row] = line;
        }
        return text;
    }

private:
    std::map<int, std::array<std::string, 4>> cells_;
};

// "Vibrato garden": vibrato with its memory and waveforms, tremolo likewise,
// tone portamento with and without a new note, with a volume slide and with
// glissando, and a portamento that has reached its note asked to go on.
std::vector<std::uint8_t> VibratoGarden() {
    ModuleBuilder song;
    song.title("vibrato garden")
        .sample(1, Looping("sine lead", Wave(32, 2, Sine, 100), 40))
        .sample(2, Looping("saw bass", Wave(64, 1, Saw, 90), 44))
        .sample(3, Looping("triangle pad", Wave(32, 2, Triangle, 90), 32))
        .sample(4, {.name = "noise drum", .data = Noise(1800, 5), .volume = 36});
    // clang-format off
    Grid vibrato = {
        {0,  "C-2 01 000 | C-1 02 000 | E-2 03 000 | C-2 04 000"},
        {4,  "--- 00 448 |            |            | C-2 04 000"},  // speed 4, depth 8
        {8,  "--- 00 400 | G-1 02 310 |            | C-2 04 000"},  // both kept; a slide to a new note
        {12, "--- 00 480 | --- 00 300 | D-2 03 000 | C-2 04 000"},  // new speed, depth kept; slide goes on
        {16, "--- 00 40C | C-1 02 308 |            | C-2 04 000"},  // new depth, speed kept
        {20, "--- 00 602 | --- 00 502 |            | C-2 04 000"},  // both carry on under a volume slide
        {24, "G-2 01 000 | E-1 02 000 | C-2 03 000 | C-2 04 000"},
        {28, "--- 00 4A6 | --- 00 304 |            | C-2 04 000"},  // the slide's note was reached long ago
        {32, "C-2 01 E41 | C-1 02 000 | E-2 03 000 | C-2 04 000"},  // ramp
        {33, "--- 00 466"},
        {36, "--- 00 E42"},                                          // square
        {37, "--- 00 466"},
        {40, "--- 00 E44 | G-1 02 000 | D-2 03 000 | C-2 04 000"},  // sine, kept across notes
        {41, "E-2 01 466"},
        {44, "G-2 01 466 |            |            | C-2 04 000"},
        {48, "C-2 01 E40 | C-1 02 000 | E-2 03 000 | C-2 04 000"},
        {49, "--- 00 620"},
        {52, "--- 00 610 |            |            | C-2 04 000"},
        {56, "A-1 01 000 | F-1 02 000 | C-2 03 000 | C-2 04 000"},
        {60, "--- 00 4F8 |            |            | C-2 04 000"},
    };
    Grid tremolo = {
        {0,  "C-2 01 000 | C-1 02 000 | E-2 03 748 | C-2 04 000"},
        {4,  "           |            | --- 00 700 | C-2 04 000"},  // both kept
        {8,  "G-2 01 000 | G-1 02 E31 | --- 00 7C0 | C-2 04 000"},  // new speed; glissando on
        {9,  "           | C-2 02 302"},                             // slides in semitones
        {12, "           |            | --- 00 70F | C-2 04 000"},  // new depth
        {16, "E-2 01 000 |            | --- 00 E71 | C-2 04 000"},  // ramp
        {17, "           |            | --- 00 748"},
        {20, "C-2 01 000 |            | --- 00 E72 | C-2 04 000"},  // square
        {21, "           |            | --- 00 748"},
        {24, "G-1 01 000 | --- 00 E30 | --- 00 E74 | C-2 04 000"},  // sine, kept across notes
        {25, "           |            | G-2 03 748"},
        {28, "           |            | E-2 03 748 | C-2 04 000"},
        {32, "C-2 01 446 | C-1 02 000 | C-2 03 E70 | C-2 04 000"},
        {36, "E-2 01 446"}, {40, "G-2 01 446"}, {44, "C-3 01 446"},
        {48, "B-2 01 446 | G-1 02 000"},
        {52, "G-2 01 446 | C-1 02 304"},
        {56, "E-2 01 446"},
    };
    // clang-format on
    // Between the rows that set them, the effects go on from their memory.
    const std::string vibrate = "--- 00 400", slide = "--- 00 300", shake = "--- 00 700";
    vibrato.run(0, 5, 7, vibrate).run(0, 9, 11, vibrate).run(0, 13, 15, vibrate).run(0, 17, 19, vibrate);
    vibrato.run(0, 21, 23, "--- 00 602").run(0, 29, 31, vibrate).run(0, 34, 35, vibrate).run(0, 38, 39, vibrate);
    vibrato.run(0, 42, 43, vibrate).run(0, 45, 47, vibrate).run(0, 50, 51, "--- 00 620");
    vibrato.run(0, 53, 55, "--- 00 610").run(0, 61, 63, vibrate);
    vibrato.run(1, 9, 11, slide).run(1, 13, 15, slide).run(1, 17, 19, slide).run(1, 21, 23, "--- 00 502");
    vibrato.run(1, 29, 31, slide);
    tremolo.run(2, 1, 3, shake).run(2, 5, 7, shake).run(2, 9, 11, shake).run(2, 13, 15, shake);
    tremolo.run(2, 18, 19, shake).run(2, 22, 23, shake).run(2, 26, 27, shake).run(2, 29, 31, shake);
    tremolo.run(1, 10, 23, slide).run(2, 33, 63, "--- 00 734").run(3, 32, 52, "C-2 04 000", 4);
    for (int row = 33; row < 56; ++row)
        if (row % 4 != 0) tremolo.run(0, row, row, "--- 00 400");
    tremolo.run(0, 57, 63, "--- 00 602").run(1, 53, 63, "--- 00 501");
    return song.pattern(0, vibrato.rows()).pattern(1, tremolo.rows()).orders({0, 1}).build();
}

// "Loop and retrigger": pattern loops, retriggers, note delays with and
// without a note, cuts, fine slides, finetune, pattern delay, sample offsets,
// set volume, speed and tempo, a break to a decimal row, a jump over an order.
std::vector<std::uint8_t> LoopAndRetrigger() {
    ModuleBuilder song;
    song.title("loop and retrigger")
        .sample(1, Looping("square lead", Wave(32, 2, Square, 50), 40))
        .sample(2, Looping("triangle bass", Wave(64, 1, Triangle, 110), 44))
        .sample(3, {.name = "noise drum", .data = Noise(1600, 11), .volume = 44})
        .sample(4, {.name = "pluck", .data = Pluck(4096, 32), .volume = 52});
    // clang-format off
    Grid opening = {
        {0,  "C-2 01 000 | C-1 02 000 |            | C-2 03 E60"},  // the loop starts
        {1,  "E-2 01 000"},
        {2,  "G-2 01 000 |            |            | C-2 03 000"},
        {3,  "C-3 01 000 |            |            | --- 00 E62"},  // and plays three times
        {4,  "C-2 01 000 | F-1 02 000 |            | C-2 03 E93"},  // retrigger every third tick
        {6,  "           |            |            | --- 00 E92"},  // and without a note
        {8,  "E-2 01 ED3 | G-1 02 000 |            | C-2 03 000"},  // a note delayed three ticks
        {10, "--- 00 ED2 |            |            | C-2 03 000"},  // a delay with no note
        {12, "G-2 01 EC2 | C-1 02 000 |            | C-2 03 000"},  // cut after two ticks
        {14, "C-3 01 EC4 |            |            | C-2 03 000"},
        {16, "C-2 01 E13 | C-1 02 EB4 |            | C-2 03 000"},  // fine slides, pitch and volume
        {24, "C-2 01 E58 | G-1 02 000 |            | C-2 03 000"},  // finetune set with the note
        {26, "C-2 01 000"},                                          // and the sample's own again
        {28, "E-2 01 000 |            |            | C-2 03 EE2"},  // the row lasts three
        {32, "           | C-1 02 000 | C-2 04 000 | C-2 03 000"},
        {34, "           |            | C-2 04 904"},                // offsets into the pluck
        {36, "           |            | C-2 04 908 | C-2 03 000"},
        {38, "           |            | G-1 04 90C"},
        {40, "C-2 01 C20 | F-1 02 000 |            | C-2 03 000"},
        {42, "--- 00 C40"},
        {44, "--- 00 C08 |            |            | C-2 03 000"},
        {46, "E-2 01 880 | --- 00 E80"},                             // panning, which a four-track player ignores
        {48, "G-2 01 000 | C-1 02 000 |            | C-2 03 F04"},
        {52, "C-3 01 000 | G-1 02 000 |            | C-2 03 F96"},
        {56, "C-2 01 000 | C-1 02 000 |            | C-2 03 D10"},  // on at row 10 of the next order
    };
    Grid middle = {
        {0,  "C-3 01 C40 | C-3 02 C40 | C-3 04 C40 | C-2 03 C40"},  // never heard: the break passes it
        {10, "C-2 01 000 | C-1 02 000 | --- 00 F7D | C-2 03 F06"},
        {12, "E-2 01 000 |            |            | C-2 03 000"},
        {14, "G-2 01 000"},
        {16, "C-3 01 000 | F-1 02 000 | E-2 04 E60 | C-2 03 000"},
        {18, "           |            | G-2 04 000"},
        {20, "B-2 01 000 | G-1 02 000 | C-3 04 000 | C-2 03 000"},
        {22, "           |            | --- 00 E61"},                // rows 16..22 twice
        {24, "C-3 01 A04 | C-1 02 000 |            | C-2 03 E98"},
        {28, "           |            |            | --- 00 B03"},  // over order 2 to order 3
    };
    Grid finale = {
        {0,  "C-2 01 047 | C-1 02 000 |            | C-2 03 E93"},
        {8,  "F-2 01 037 | F-1 02 000 |            | C-2 03 000"},
        {12, "G-2 01 037 | G-1 02 000 |            | C-2 03 E92"},
        {16, "C-2 01 047 | C-1 02 ED1 | C-2 04 000 | C-2 03 000"},
        {24, "E-2 01 000 | G-1 02 000 | G-2 04 000 | C-2 03 000"},
        {32, "C-3 01 000 | C-1 02 000 | C-2 04 000 | C-2 03 EC1"},
    };
    // clang-format on
    opening.run(0, 17, 19, "--- 00 E13").run(0, 20, 23, "--- 00 E23");
    opening.run(1, 17, 19, "--- 00 EB4").run(1, 20, 23, "--- 00 EA4");
    middle.run(0, 25, 27, "--- 00 A04");
    finale.run(0, 1, 7, "--- 00 047").run(0, 9, 11, "--- 00 037").run(0, 13, 15, "--- 00 037");
    finale.run(0, 17, 23, "--- 00 A02").run(0, 33, 63, "--- 00 A01").run(1, 33, 63, "--- 00 A01");
    return song.pattern(0, opening.rows())
        .pattern(1, middle.rows())
        .pattern(2, finale.rows())
        .orders({0, 1, 3, 2})
        .build();
}

// "Pitch ladder": every note from C-1 to B-3 on samples of four finetunes,
// then arpeggios and portamentos, the last two driven past the ends of the scale.
std::vector<std::uint8_t> PitchLadder() {
    static const char* const kNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    static const std::uint8_t kFinetunes[4] = {0, 5, 9, 15};
    // clang-format off
    static const std::pair<const char*, const char*> kSlides[7] = {
        {"C-2", "047"}, {"C-2", "037"}, {"A-1", "0C7"}, {"C-1", "104"}, {"B-3", "20C"}, {"B-2", "1FF"}, {"C-1", "2FF"},
    };
    // clang-format on
    ModuleBuilder song;
    song.title("pitch ladder");
    for (int s = 0; s < 4; ++s) {
        const std::string number = "0" + std::to_string(s + 1);
        song.sample(s + 1, Looping("sine, finetune " + std::to_string(kFinetunes[s]), Wave(32, 2, Sine, 100), 48,
                                   kFinetunes[s]));
        // Each sample climbs on a track of its own, one note a row.
        Grid ladder;
        for (int note = 0; note < 36; ++note)
            ladder.run(s, note, note, kNames[note % 12] + std::to_string(1 + note / 12) + " " + number + " 000");
        if (s == 0) ladder.run(1, 0, 0, "--- 00 F08");
        if (s > 0) ladder.run(s - 1, 0, 0, "--- 00 C00");  // the last ladder's top note stops
        if (s == 3) ladder.run(3, 36, 36, "--- 00 C00");
        if (s < 3) ladder.run(s, 35, 35, "B-3 " + number + " D00");
        for (int i = 0; s == 3 && i < 7; ++i) {
            const auto& [note, effect] = kSlides[i];
            ladder.run(0, 36 + 4 * i, 36 + 4 * i, std::string(note) + " 01 " + effect)
                .run(0, 37 + 4 * i, 39 + 4 * i, std::string("--- 00 ") + effect);
        }
        song.pattern(s, ladder.rows());
    }
    return song.orders({0, 1, 2, 3}).build();
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok;
}

// Small modules that each lead the replay to one of its limits.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Seeds() {
    const SampleSpec tiny{.name = "tiny",
                          .data = modwrite::SquareWave(32, 8),
                          .volume = 64,
                          .repeatStartWords = 4,
                          .repeatLengthWords = 12};
    auto one = [&](const std::string& cell) {
        return ModuleBuilder().sample(1, tiny).pattern(0, {{0, "C-2 01 000 | " + cell}, {1, cell}}).build();
    };
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds = {
        {"arpeggio-top", one("B-5 01 0FF")}, {"porta-down", one("C-1 01 2FF")}, {"porta-up", one("B-5 01 1FF")},
        {"vibrato", one("C-1 01 4FF")},      {"offset", one("C-2 01 9FF")},     {"delay", one("4095 01 ED0")},
        {"speed0", one("C-2 01 F00")},       {"jump", one("--- 00 BFF")},       {"break", one("--- 00 DFF")},
        {"big-sample", one("C-2 FF C7F")},
    };
    auto truncated = ModuleBuilder().sample(1, tiny).orders({0, 3}).build();
    truncated.resize(truncated.size() - 1500);
    seeds.emplace_back("truncated", truncated);
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orbitfend-modplay-examples EXAMPLEDIR [CORPUSDIR]\n");
        return 2;
    }
    const std::string examples = argv[1];
    bool ok = Write(examples + "/orbit-march.mod", OrbitMarch()) &&
              Write(examples + "/slide-study.mod", SlideStudy()) &&
              Write(examples + "/tempo-tricks.mod", TempoTricks()) &&
              Write(examples + "/vibrato-garden.mod", VibratoGarden()) &&
              Write(examples + "/loop-and-retrigger.mod", LoopAndRetrigger()) &&
              Write(examples + "/pitch-ladder.mod", PitchLadder());
    if (argc > 2) {
        const std::string corpus = argv[2];
        for (const auto& [name, bytes] : Seeds()) ok = ok && Write(corpus + "/" + name + ".mod", bytes);
        ok = ok && Write(corpus + "/orbit-march.mod", OrbitMarch()) &&
             Write(corpus + "/tempo-tricks.mod", TempoTricks());
    }
    if (!ok) std::fprintf(stderr, "orbitfend-modplay-examples: cannot write the files\n");
    return ok ? 0 : 1;
}
