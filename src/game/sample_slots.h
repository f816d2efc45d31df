// The nine game sounds in their sample slots, and starting them.
#pragma once

#include <cstdint>
#include <vector>

// Sample slots of the game's sounds.
constexpr int kHitSound = 0;        // an alien or the mystery ship is hit
constexpr int kCannonHitSound = 1;  // the cannon struck by a bomb
constexpr int kFireSound = 2;       // the cannon fires
constexpr int kShipSound = 3;       // the mystery ship's loop
constexpr int kFirstMarchNote = 4;  // slots 4..7, the four march notes
constexpr int kExtraLifeSound = 8;

// Loads slots 0..8 from the "WAVE" resources 128..131 and 133..137; slot 3 loops.
void LoadGameSounds(void* instance);
// Starts the sample in `slot` on a free voice; its channel handle or 65535.
std::uint32_t PlaySampleSlot(int slot);
// The slots started since the last call (for the state trace).
std::vector<int> TakePlayedSlots();
