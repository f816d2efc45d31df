// A game world driven in-process: the program's objects and a headless
// backend with no keys, so the game's own functions can be called one by one
// on a world that a test arranges in gameState.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "game/game.h"
#include "game/game_internal.h"
#include "game/game_state.h"
#include "graphics/surface.h"
#include "platform/clock.h"
#include "shell/globals.h"
#include "sound_test_support.h"

class GameWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        headless_ = std::make_unique<sound_test::HeadlessPlatform>(false);  // no sound device
        ConstructProgramObjects();
        backBuffer.allocate();
    }
    static void TearDownTestSuite() {
        DestroyProgramObjects();
        headless_.reset();
    }
    // A new game already in play, with no bombs and the ship waiting.
    void SetUp() override {
        gameState = GameState{};
        NewGame();
        gameState.mode = Playing;
    }

    // Leaves only this alien alive; every other slot is gone.
    static void keepOnlyAlien(int column, int row) {
        for (auto& c : gameState.aliens)
            for (Alien& alien : c) alien.state = 0;
        gameState.aliens[column][row].state = 1;
        gameState.aliensLeft = 1;
    }

private:
    static inline std::unique_ptr<sound_test::HeadlessPlatform> headless_;
};
