// Feeds arbitrary bytes to the WAVE loader as an in-memory image: it must
// either refuse them or give a sample whose data lies inside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sound/sample.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Sample sample;
    if (sample.loadImage(data, size) == 1) {
        const std::uint8_t* first = sample.data();
        if (first < data || first + sample.length() > data + size || sample.rate() == 0) std::abort();
        // Touch every byte, so that a sample reaching past the image is caught.
        unsigned sum = 0;
        for (std::uint32_t i = 0; i < sample.length(); ++i) sum += first[i];
        if (sum == 0xFFFFFFFFu) std::abort();
    }
    return 0;
}
