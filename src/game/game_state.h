// GameState, the one global record of the program's state, and the game
// modes of the main loop.
#pragma once

#include <cstdint>

#include "game/world.h"
#include "platform/platform.h"

enum GameMode : std::uint32_t {
    Title = 0,
    Paused = 1,
    RoundStart = 2,
    Playing = 3,
    LifeLost = 4,
    GameOver = 5,
};

// The half of GameState that the shell's modes and settings keep. The
// pictures and the colour key are graphics' own (graphics/surface.h).
struct ShellFields {
    std::uint32_t mode = Title;
    std::uint32_t modeDeadline = 0;  // tick at which the timed mode ends (strictly after)
    std::int32_t score = 0;
    std::int32_t highScore = 0;
    std::int32_t volume = 16;      // sample volume, nominally 0..64
    std::int32_t volumeScale = 0;  // 0..320 when changed by the keys; volume = volumeScale / 5
    void* instance = nullptr;
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    platform::ActivationInfo activationInfo{};
};

struct GameState : ShellFields, WorldFields {};

extern GameState gameState;

// Built-in configuration.
constexpr std::uint32_t kRoundStartMs = 2000;
constexpr std::uint32_t kLifeLostMs = 2000;
constexpr std::uint32_t kGameOverMs = 4000;
