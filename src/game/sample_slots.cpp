#include "game/sample_slots.h"

#include "sound/sample.h"
#include "sound/sound_system.h"

namespace {

std::vector<int> playedSlots;

struct SlotResource {
    int slot;
    std::uint32_t resource;
};
constexpr SlotResource kGameSounds[] = {
    {0, 128}, {1, 129}, {2, 130}, {3, 131}, {4, 133}, {5, 134}, {6, 135}, {7, 136}, {8, 137},
};

}  // namespace

void LoadGameSounds(void* instance) {
    for (const SlotResource& sound : kGameSounds) {
        samples[sound.slot].loadResource(instance, sound.resource);
        if (sound.slot == kShipSound) samples[sound.slot].setLoop(true);
    }
}

std::uint32_t PlaySampleSlot(int slot) {
    playedSlots.push_back(slot);
    return soundSystem.playSample(samples[slot]);
}

std::vector<int> TakePlayedSlots() {
    std::vector<int> slots;
    slots.swap(playedSlots);
    return slots;
}
