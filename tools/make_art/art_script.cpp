#include "art_script.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::uint32_t kTransparent = 0x0000FF;  // pure blue, the program's colour key

struct Grid {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
};

struct Glyph {
    int width = 0;
    std::vector<std::string> rows;
};

struct Font {
    int height = 0;
    std::map<char, Glyph> glyphs;
};

// The lines of a source, with comments and trailing blanks removed, and a
// way to report a fault at the line being read.
class SourceReader {
public:
    explicit SourceReader(const std::string& path) : path_(path) {
        std::ifstream in(path);
        if (!in) throw std::runtime_error(path + ": cannot open the file");
        for (std::string line; std::getline(in, line);) {
            if (auto semicolon = line.find(';'); semicolon != std::string::npos) line.erase(semicolon);
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.pop_back();
            lines_.push_back(line);
        }
    }
    bool next(std::string& line) {
        while (index_ < lines_.size()) {
            line = lines_[index_++];
            if (!line.empty()) return true;
        }
        return false;
    }
    // The rows of a block up to its `end` line.
    std::vector<std::string> blockRows() {
        std::vector<std::string> rows;
        std::string line;
        while (next(line)) {
            if (line == "end") return rows;
            rows.push_back(line);
        }
        fail("a block has no `end`");
    }
    [[noreturn]] void fail(const std::string& message) const {
        throw std::runtime_error(path_ + ":" + std::to_string(index_) + ": " + message);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> lines_;
    std::size_t index_ = 0;
};

int toInt(const SourceReader& reader, const std::string& word) {
    try {
        std::size_t used = 0;
        int value = std::stoi(word, &used);
        if (used == word.size()) return value;
    } catch (const std::exception&) {
    }
    reader.fail("`" + word + "` is not a number");
}

std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

Font readFont(const std::string& path) {
    SourceReader reader(path);
    Font font;
    std::string line;
    while (reader.next(line)) {
        const auto words = wordsOf(line);
        if (words.size() != 2 || words[0] != "glyph") reader.fail("expected `glyph C`");
        const char c = words[1] == "space" ? ' ' : words[1].size() == 1 ? words[1][0] : 0;
        if (c == 0) reader.fail("a glyph is named by one character or `space`");
        Glyph glyph;
        glyph.rows = reader.blockRows();
        glyph.width = glyph.rows.empty() ? 0 : static_cast<int>(glyph.rows[0].size());
        for (const std::string& row : glyph.rows)
            if (static_cast<int>(row.size()) != glyph.width)
                reader.fail(std::string("glyph ") + c + " has rows of different lengths");
        if (font.height == 0) font.height = static_cast<int>(glyph.rows.size());
        if (static_cast<int>(glyph.rows.size()) != font.height)
            reader.fail(std::string("glyph ") + c + " is not as tall as the others");
        font.glyphs[c] = glyph;
    }
    return font;
}

// One source being drawn.
class ArtSource {
public:
    explicit ArtSource(const std::string& path) : reader_(path), dir_(std::filesystem::path(path).parent_path()) {}

    void run() {
        std::string line;
        while (reader_.next(line)) command(line);
    }
    Picture& picture() { return picture_; }
    const Grid& cell(const std::string& name) {
        auto it = cells_.find(name);
        if (it == cells_.end()) reader_.fail("no cell named " + name);
        return it->second;
    }

private:
    void command(const std::string& line) {
        const auto words = wordsOf(line);
        const std::string& verb = words[0];
        if (words.size() == 3 && words[1] == "=" && verb.size() == 1) return legend(verb[0], words[2]);
        if (verb == "picture") return start(words);
        if (picture_.rgb.empty()) reader_.fail("the source must begin with `picture W H BPP`");
        if (verb == "fill") return fillRect(0, 0, picture_.width, picture_.height, colour(words, 1));
        if (verb == "rect")
            return fillRect(number(words, 1), number(words, 2), number(words, 3), number(words, 4), colour(words, 5));
        if (verb == "font") return void(font_ = readFont((dir_ / word(words, 1)).string()));
        if (verb == "cell") return drawCell(words);
        if (verb == "text") return drawText(line, words);
        if (verb == "stamp") return drawStamp(words);
        if (verb == "gradient") return drawGradient(words);
        if (verb == "stars") return drawStars(words);
        if (verb == "disc") return drawDisc(number(words, 1), number(words, 2), number(words, 3), colour(words, 4));
        reader_.fail("unknown command `" + verb + "`");
    }

    const std::string& word(const std::vector<std::string>& words, std::size_t i) {
        if (i >= words.size()) reader_.fail("`" + words[0] + "` needs more arguments");
        return words[i];
    }
    int number(const std::vector<std::string>& words, std::size_t i) { return toInt(reader_, word(words, i)); }
    std::uint32_t colourOf(char c) {
        auto it = legend_.find(c);
        if (it == legend_.end()) reader_.fail(std::string("`") + c + "` is not in the palette legend");
        return it->second;
    }
    std::uint32_t colour(const std::vector<std::string>& words, std::size_t i) {
        const std::string& w = word(words, i);
        if (w.size() != 1) reader_.fail("a colour is one legend character");
        return colourOf(w[0]);
    }
    // Options are words `key=value` with a lower-case key; a bare `=` is text.
    static bool isOption(const std::string& w) {
        const std::size_t equals = w.find('=');
        return equals != std::string::npos && equals > 0 && std::islower(static_cast<unsigned char>(w[0]));
    }
    int option(const std::vector<std::string>& words, std::size_t first, const std::string& key, int fallback) {
        for (std::size_t i = first; i < words.size() && isOption(words[i]); ++i)
            if (words[i].rfind(key + "=", 0) == 0) return toInt(reader_, words[i].substr(key.size() + 1));
        return fallback;
    }

    void legend(char c, const std::string& hex) {
        if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            reader_.fail("a legend colour is six hex digits RRGGBB");
        const std::uint32_t rgb = static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
        legend_[c] = rgb;
        picture_.namedColours.push_back(rgb);
    }

    void start(const std::vector<std::string>& words) {
        picture_.width = number(words, 1);
        picture_.height = number(words, 2);
        picture_.bitsPerPixel = number(words, 3);
        if (picture_.width < 1 || picture_.height < 1 || picture_.width > 4096 || picture_.height > 4096)
            reader_.fail("the picture size must be 1 to 4096 pixels each way");
        if (picture_.bitsPerPixel != 4 && picture_.bitsPerPixel != 8 && picture_.bitsPerPixel != 24)
            reader_.fail("the depth must be 4, 8 or 24");
        picture_.rgb.assign(static_cast<std::size_t>(picture_.width) * picture_.height, 0);
    }

    void put(int x, int y, std::uint32_t rgb) {
        if (x < 0 || y < 0 || x >= picture_.width || y >= picture_.height)
            reader_.fail("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is outside the picture");
        picture_.at(x, y) = rgb;
    }

    void fillRect(int x, int y, int w, int h, std::uint32_t rgb) {
        for (int row = 0; row < h; ++row)
            for (int column = 0; column < w; ++column) put(x + column, y + row, rgb);
    }

    void drawCell(const std::vector<std::string>& words) {
        const std::string name = word(words, 1);
        const int x = number(words, 2), y = number(words, 3), w = number(words, 4), h = number(words, 5);
        const std::vector<std::string> rows = reader_.blockRows();
        if (static_cast<int>(rows.size()) != h)
            reader_.fail("cell " + name + " has " + std::to_string(rows.size()) + " rows, not " + std::to_string(h));
        Grid grid{w, h, {}};
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const std::string where = "cell " + name + ", row " + std::to_string(r + 1) + ": ";
            if (static_cast<int>(rows[r].size()) != w)
                reader_.fail(where + std::to_string(rows[r].size()) + " pixels, not " + std::to_string(w));
            for (char c : rows[r]) {
                if (!legend_.count(c)) reader_.fail(where + "`" + c + "` is not in the palette legend");
                grid.rgb.push_back(legend_[c]);
            }
        }
        for (int row = 0; row < h; ++row)
            for (int column = 0; column < w; ++column) put(x + column, y + row, grid.rgb[row * w + column]);
        cells_[name] = grid;
    }

    void drawText(const std::string& line, const std::vector<std::string>& words) {
        if (font_.glyphs.empty()) reader_.fail("`text` needs a `font` first");
        const int scale = option(words, 4, "scale", 1);
        const int advance = option(words, 4, "advance", 0);
        // The string is what follows the colour and the options.
        std::size_t skip = 4;
        while (skip < words.size() && isOption(words[skip])) ++skip;
        if (skip >= words.size()) reader_.fail("`text` has no string");
        std::size_t start = 0;
        for (std::size_t i = 0; i < skip; ++i) {
            start = line.find(words[i], start) + words[i].size();
        }
        const std::string text = line.substr(line.find_first_not_of(" \t", start));
        const std::uint32_t ink = colour(words, 3);

        auto glyphOf = [&](char c) -> const Glyph& {
            auto it = font_.glyphs.find(c);
            if (it == font_.glyphs.end()) reader_.fail(std::string("the font has no glyph for `") + c + "`");
            return it->second;
        };
        auto stepAfter = [&](const Glyph& g) { return advance > 0 ? advance : g.width + 1; };
        int width = 0;
        for (char c : text) width += stepAfter(glyphOf(c)) * scale;
        if (advance == 0) width -= scale;  // no gap after the last glyph

        int x = word(words, 1) == "centre" ? (picture_.width - width) / 2 : number(words, 1);
        const int y = number(words, 2);
        for (char c : text) {
            const Glyph& g = glyphOf(c);
            for (int row = 0; row < font_.height; ++row)
                for (int column = 0; column < g.width; ++column)
                    if (g.rows[row][column] == '#') fillRect(x + column * scale, y + row * scale, scale, scale, ink);
            x += stepAfter(g) * scale;
        }
    }

    void drawStamp(const std::vector<std::string>& words) {
        ArtSource other((dir_ / word(words, 1)).string());
        other.run();
        const Grid& grid = other.cell(word(words, 2));
        const int x = number(words, 3), y = number(words, 4);
        const int scale = option(words, 5, "scale", 1);
        std::uint32_t recolour = 0;
        bool recoloured = false;
        for (std::size_t i = 5; i < words.size(); ++i)
            if (words[i].rfind("as=", 0) == 0 && words[i].size() == 4) {
                recolour = colourOf(words[i][3]);
                recoloured = true;
            }
        for (int row = 0; row < grid.height; ++row)
            for (int column = 0; column < grid.width; ++column) {
                const std::uint32_t rgb = grid.rgb[row * grid.width + column];
                if (rgb != kTransparent)
                    fillRect(x + column * scale, y + row * scale, scale, scale, recoloured ? recolour : rgb);
            }
    }

    // Ordered dithering between neighbouring colours of the list, so a few
    // palette entries make a smooth-looking shade.
    void drawGradient(const std::vector<std::string>& words) {
        static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
        const int y0 = number(words, 1), y1 = number(words, 2);
        std::vector<std::uint32_t> colours;
        for (std::size_t i = 3; i < words.size(); ++i) colours.push_back(colour(words, i));
        if (colours.size() < 2 || y1 <= y0) reader_.fail("`gradient` needs Y0 < Y1 and two colours or more");
        const int steps = static_cast<int>(colours.size()) - 1;
        for (int y = y0; y <= y1; ++y) {
            // Position along the gradient in sixteenths of one colour step.
            const int position = (y - y0) * steps * 16 / (y1 - y0);
            const int band = std::min(position / 16, steps - 1);
            const int fraction = position - band * 16;
            for (int x = 0; x < picture_.width; ++x)
                put(x, y, fraction > kBayer[y % 4][x % 4] ? colours[band + 1] : colours[band]);
        }
    }

    void drawStars(const std::vector<std::string>& words) {
        std::mt19937 random(static_cast<std::uint32_t>(number(words, 1)));
        const int count = number(words, 2);
        std::vector<std::uint32_t> colours;
        for (std::size_t i = 3; i < words.size(); ++i) colours.push_back(colour(words, i));
        if (colours.empty()) reader_.fail("`stars` needs at least one colour");
        for (int i = 0; i < count; ++i) {
            const int x = static_cast<int>(random() % static_cast<std::uint32_t>(picture_.width));
            const int y = static_cast<int>(random() % static_cast<std::uint32_t>(picture_.height));
            put(x, y, colours[random() % colours.size()]);
        }
    }

    // A filled circle; the parts outside the picture are left out.
    void drawDisc(int cx, int cy, int r, std::uint32_t rgb) {
        for (int y = std::max(0, cy - r); y <= std::min(picture_.height - 1, cy + r); ++y)
            for (int x = std::max(0, cx - r); x <= std::min(picture_.width - 1, cx + r); ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) put(x, y, rgb);
    }

    SourceReader reader_;
    std::filesystem::path dir_;
    Picture picture_;
    std::map<char, std::uint32_t> legend_;
    std::map<std::string, Grid> cells_;
    Font font_;
};

}  // namespace

Picture DrawArtSource(const std::string& path) {
    ArtSource source(path);
    source.run();
    return std::move(source.picture());
}
