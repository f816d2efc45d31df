// orbitfend-make-art SOURCE.txt OUT.bmp: draws one picture from its text source.
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "art_script.h"
#include "bmp_writer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orbitfend-make-art SOURCE.txt OUT.bmp\n");
        return 2;
    }
    try {
        const Picture picture = DrawArtSource(argv[1]);
        std::vector<std::uint8_t> bytes;
        try {
            bytes = EncodeBmp(picture);
        } catch (const std::exception& e) {
            throw std::runtime_error(std::string(argv[1]) + ": " + e.what());
        }
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error(std::string(argv[2]) + ": cannot write the file");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orbitfend-make-art: %s\n", e.what());
        return 1;
    }
    return 0;
}
