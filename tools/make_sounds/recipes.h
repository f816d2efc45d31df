// The nine sound effects of the game, each a recipe over the synth blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SoundFile {
    std::string name;  // file name in src/resources/sounds
    std::vector<std::uint8_t> samples;
};

std::vector<SoundFile> MakeGameSounds();
