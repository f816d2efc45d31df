// orbitfend-make-art [--scale N] SOURCE.txt OUT.bmp|OUT.png: draws one picture
// from its text source, as a BMP for the program's resources or as a PNG for
// the desktop icons.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "art_script.h"
#include "bmp_writer.h"
#include "png_writer.h"

namespace {

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<std::uint8_t> encode(const Picture& picture, const std::string& source, const std::string& out) {
    try {
        return endsWith(out, ".png") ? EncodePng(picture) : EncodeBmp(picture);
    } catch (const std::exception& e) {
        throw std::runtime_error(source + ": " + e.what());
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("Draws one picture from its text source.", "orbitfend-make-art");
    std::string source;
    std::string out;
    int scale = 1;
    app.add_option("SOURCE", source, "the picture's text source")->required();
    app.add_option("OUT", out, "the file to write: .bmp or .png")->required();
    app.add_option("--scale", scale, "enlarge every pixel to an N x N block")->check(CLI::Range(1, 64));
    try {
        app.parse(argc, argv);
        if (!endsWith(out, ".bmp") && !endsWith(out, ".png"))
            throw CLI::ValidationError("OUT", "must end in .bmp or .png");
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    try {
        const Picture picture = Enlarged(DrawArtSource(source), scale);
        const std::vector<std::uint8_t> bytes = encode(picture, source, out);
        std::ofstream file(out, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file) throw std::runtime_error(out + ": cannot write the file");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orbitfend-make-art: %s\n", e.what());
        return 1;
    }
    return 0;
}
