#include "key_script_generator.h"

#include <algorithm>
#include <random>
#include <sstream>
#include <vector>

namespace soak {

namespace {

struct HeldKey {
    int virtualKey;
    int weight;  // how often it is pressed, relative to the others
    int longestHoldMs;
};

// clang-format off
constexpr HeldKey kKeys[] = {
    // key  weight  longest hold
    {13,    6,      80},    // action: starts a game on the title
    {37,    10,     1500},  // left
    {39,    10,     1500},  // right
    {52,    3,      900},   // 4 (left)
    {54,    3,      900},   // 6 (right)
    {112,   2,      900},   // F1 (left)
    {113,   2,      900},   // F2 (right)
    {120,   12,     120},   // F9 (fire)
    {119,   3,      120},   // F8 (fire)
    {53,    3,      120},   // 5 (fire)
    {117,   1,      600},   // F6 (volume up)
    {118,   1,      400},   // F7 (volume down)
    {121,   1,      60},    // F10 (pause)
};
// clang-format on

constexpr int kBackKey = 27;
constexpr double kMeanGapMs = 250;
// The program refuses a key script over 1 MiB. A press and its release take
// at most about 40 bytes, so a long run spreads its presses out to stay well
// under that: 10 virtual hours get a key about every 1.6 s.
constexpr double kMostPresses = 22000;

struct Line {
    std::uint64_t ms;
    std::string text;
};

std::discrete_distribution<std::size_t> keyChooser() {
    std::vector<int> weights;
    for (const HeldKey& key : kKeys) weights.push_back(key.weight);
    return {weights.begin(), weights.end()};
}

}  // namespace

std::string MakeKeyScript(std::uint32_t seed, std::uint64_t durationMs) {
    std::mt19937 random(seed);
    auto pickKey = keyChooser();
    const double meanGapMs = std::max(kMeanGapMs, static_cast<double>(durationMs) / kMostPresses);
    std::exponential_distribution<double> gap(1.0 / meanGapMs);
    std::vector<Line> lines;
    for (std::uint64_t ms = 100 + gap(random); ms < durationMs; ms += 1 + static_cast<std::uint64_t>(gap(random))) {
        const HeldKey& key = kKeys[pickKey(random)];
        const auto hold = std::uniform_int_distribution<std::uint64_t>(1, key.longestHoldMs)(random);
        lines.push_back({ms, std::to_string(ms) + " down " + std::to_string(key.virtualKey)});
        lines.push_back({ms + hold, std::to_string(ms + hold) + " up " + std::to_string(key.virtualKey)});
    }
    // Rarely the run ends early: one seed in four by the back key, one in
    // four by a loss of activation, somewhere in its second half.
    const auto ending = std::uniform_int_distribution<int>(0, 3)(random);
    const auto endAt = std::uniform_int_distribution<std::uint64_t>(durationMs / 2, durationMs)(random);
    if (ending == 0) lines.push_back({endAt, std::to_string(endAt) + " down " + std::to_string(kBackKey)});
    if (ending == 1) lines.push_back({endAt, std::to_string(endAt) + " deactivate"});
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.ms < b.ms; });

    std::ostringstream script;
    script << "# soak seed " << seed << ", " << durationMs << " ms\n";
    for (const Line& line : lines) script << line.text << '\n';
    return script.str();
}

}  // namespace soak
