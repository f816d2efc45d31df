// orbitfend-make-sounds OUTDIR: writes the game's nine sound effects into
// OUTDIR as 8-bit mono 11025 Hz WAVE files. The same program always writes
// the same bytes.
#include <cstdio>
#include <string>

#include "recipes.h"
#include "sound/wave_writer.h"
#include "synth.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orbitfend-make-sounds OUTDIR\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const SoundFile& sound : MakeGameSounds()) {
        const std::string path = folder + "/" + sound.name;
        // The files have always been written without the pad byte after odd data.
        if (!wave::WriteFile(path, {kRate, 1, 8}, sound.samples, wave::Padding::none)) {
            std::fprintf(stderr, "orbitfend-make-sounds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
