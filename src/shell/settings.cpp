#include "shell/settings.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "game/game_state.h"
#include "platform/settings_store.h"
#ifndef __wasi__
#include "shell/settings_file.h"
#endif

namespace {

constexpr std::int32_t kVolumeMin = 0;
constexpr std::int32_t kVolumeMax = 64;

constexpr const char* kHighScore = "high-score";
constexpr const char* kVolume = "volume";
constexpr const char* kHighScoreNote = "The best score so far: a whole number, 0 or more.";
constexpr const char* kVolumeNote =
    "The volume of the sound effects, from 0 (silent) to 64 (loudest).\n"
    "F6 and F7 change it while the game runs.";

bool settingsSaved = false;

// The stored text of `name` as a whole number; nothing when it is absent or
// is not one (said on stderr).
std::optional<std::int64_t> storedNumber(const char* name, const char* fallback) {
    const std::optional<std::string> text = platform::ActiveSettingsStore().value(name);
    if (!text) return std::nullopt;
    std::int64_t number = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, number);
    if (error == std::errc{} && stop == end) return number;
    std::fprintf(stderr, "orbitfend: the setting %s = %s is %s; %s is used instead\n", name, text->c_str(),
                 error == std::errc::result_out_of_range ? "out of range" : "not a whole number", fallback);
    return std::nullopt;
}

}  // namespace

std::unique_ptr<platform::SettingsStore> MakeSettingsStore(const Options& options) {
#ifndef __wasi__
    const std::filesystem::path file = SettingsFilePath(options, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (!file.empty()) return std::make_unique<SettingsFile>(file);
#endif
    (void)options;
    return std::make_unique<platform::MemorySettingsStore>();
}

// Desktop: a desktop has no system key click, so no key-press values of the
// system are kept, silenced or given back here.
void LoadSettings() {
    platform::ActiveSettingsStore().load();
    if (const auto score = storedNumber(kHighScore, "0")) {
        // FIX: a high score beyond 32 bits, or below 0, is never taken as a
        // (negative) score: it would draw the HI-SCORE field blank.
        if (*score >= 0 && *score <= INT32_MAX)
            gameState.highScore = static_cast<std::int32_t>(*score);
        else
            std::fprintf(stderr, "orbitfend: the setting %s = %lld is out of range; 0 is used instead\n", kHighScore,
                         static_cast<long long>(*score));
    }
    if (const auto volume = storedNumber(kVolume, "16")) {
        // FIX: a loaded volume is brought into 0..64, so that the sample volume
        // stays in its range and volume x 5 cannot overflow.
        const std::int64_t clamped = std::clamp<std::int64_t>(*volume, kVolumeMin, kVolumeMax);
        if (clamped != *volume)
            std::fprintf(stderr, "orbitfend: the setting %s = %lld is out of 0..64; %lld is used instead\n", kVolume,
                         static_cast<long long>(*volume), static_cast<long long>(clamped));
        gameState.volume = static_cast<std::int32_t>(clamped);
    }
}

void SaveSettings() {
    // FIX: every way out saves, so two that coincide (a lost activation and a
    // close request) would save twice; the first one does it.
    if (settingsSaved) return;
    settingsSaved = true;
    platform::SettingsStore& store = platform::ActiveSettingsStore();
    store.setValue(kHighScore, std::to_string(gameState.highScore), kHighScoreNote);
    store.setValue(kVolume, std::to_string(gameState.volume), kVolumeNote);
    store.save();
}
