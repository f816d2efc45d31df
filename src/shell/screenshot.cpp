#include "shell/screenshot.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/frame.h"
#include "shell/png_file.h"

using platform::kScreenHeight;
using platform::kScreenWidth;
namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The XDG_PICTURES_DIR line of a user-dirs.dirs file: XDG_PICTURES_DIR="$HOME/Pictures".
std::string PicturesFromUserDirs(const std::string& home) {
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    std::ifstream file(config + "/user-dirs.dirs");
    const std::string key = "XDG_PICTURES_DIR=\"";
    for (std::string line; std::getline(file, line);) {
        if (line.rfind(key, 0) != 0 || line.back() != '"') continue;
        std::string path = line.substr(key.size(), line.size() - key.size() - 1);
        if (path.rfind("$HOME", 0) == 0) path = home + path.substr(5);
        if (!path.empty() && path[0] == '/') return path;
    }
    return "";
}

std::vector<std::uint8_t> Enlarged(const std::vector<std::uint8_t>& rgb, int scale) {
    const int width = kScreenWidth * scale;
    std::vector<std::uint8_t> big(static_cast<std::size_t>(width) * kScreenHeight * scale * 3);
    for (int y = 0; y < kScreenHeight * scale; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* from = &rgb[(static_cast<std::size_t>(y / scale) * kScreenWidth + x / scale) * 3];
            std::copy_n(from, 3, &big[(static_cast<std::size_t>(y) * width + x) * 3]);
        }
    return big;
}

}  // namespace

std::string ScreenshotDirectory() {
    std::string pictures = Environment("XDG_PICTURES_DIR");
    const std::string home = Environment("HOME");
    if (pictures.empty() && !home.empty()) pictures = PicturesFromUserDirs(home);
    if (pictures.empty() && !home.empty()) pictures = home + "/Pictures";
    return pictures.empty() ? "" : pictures + "/orbitfend";
}

std::string ScreenshotStem(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stem[64];
    std::strftime(stem, sizeof stem, "orbitfend-%Y-%m-%d_%H-%M-%S", &local);
    return stem;
}

std::vector<std::string> WriteScreenshots(const std::string& directory, const std::string& stem,
                                          const std::vector<std::uint8_t>& rgb, int scale, std::string& error) {
    std::error_code made;
    fs::create_directories(directory, made);
    std::string name = stem;
    for (int copy = 2; fs::exists(fs::path(directory) / (name + ".png")); ++copy)
        name = stem + "-" + std::to_string(copy);
    const fs::path small = fs::path(directory) / (name + ".png");
    if (!WritePng(small, rgb, kScreenWidth, kScreenHeight)) {
        error = "cannot write the screenshot " + small.string();
        return {};
    }
    std::vector<std::string> written{small.string()};
    if (scale > 1) {
        const fs::path large = fs::path(directory) / (name + "-x" + std::to_string(scale) + ".png");
        if (!WritePng(large, Enlarged(rgb, scale), kScreenWidth * scale, kScreenHeight * scale)) {
            error = "cannot write the screenshot " + large.string();
            return {};
        }
        written.push_back(large.string());
    }
    return written;
}

void SaveScreenshot(const std::vector<std::uint8_t>& rgb, int scale) {
    const std::string directory = ScreenshotDirectory();
    std::string error = "cannot save a screenshot: no home directory";
    const std::vector<std::string> written =
        directory.empty() ? std::vector<std::string>{}
                          : WriteScreenshots(directory, ScreenshotStem(std::time(nullptr)), rgb, scale, error);
    if (written.empty())
        std::fprintf(stderr, "orbitfend: %s\n", error.c_str());
    else if (written.size() == 1)
        std::fprintf(stderr, "orbitfend: screenshot %s\n", written[0].c_str());
    else
        std::fprintf(stderr, "orbitfend: screenshot %s and %s\n", written[0].c_str(), written[1].c_str());
}
