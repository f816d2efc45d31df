// Writes the player's example songs, and the module fuzzer's seed corpus,
// from pattern text: orbitfend-modplay-examples EXAMPLEDIR [CORPUSDIR].
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/module_builder.h"

using modtest::ModuleBuilder;
using modtest::SampleSpec;

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

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok;
}

// Small modules that each lead the replay to one of its limits.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Seeds() {
    const SampleSpec tiny{.name = "tiny",
                          .data = modtest::SquareWave(32, 8),
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
              Write(examples + "/tempo-tricks.mod", TempoTricks());
    if (argc > 2) {
        const std::string corpus = argv[2];
        for (const auto& [name, bytes] : Seeds()) ok = ok && Write(corpus + "/" + name + ".mod", bytes);
        ok = ok && Write(corpus + "/orbit-march.mod", OrbitMarch()) &&
             Write(corpus + "/tempo-tricks.mod", TempoTricks());
    }
    if (!ok) std::fprintf(stderr, "orbitfend-modplay-examples: cannot write the files\n");
    return ok ? 0 : 1;
}
