// orbitfend-modplay: plays a four-track tracker module through the audio
// device, renders it to a WAVE file, or describes it. All text goes to
// stderr; exit 0 on success, 1 for a file that cannot be played, 2 for bad
// usage, 3 when there is no audio device to play on.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "live_play.h"
#include "module_check.h"
#include "platform/audio_out.h"
#include "platform/sdl/sdl_audio_out.h"
#include "song_info.h"
#include "sound/module.h"
#include "sound/song_player.h"
#include "sound/wave_writer.h"

namespace {

constexpr int kUnplayable = 1;
constexpr int kUsageError = 2;

int Fail(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "orbitfend-modplay: %s: %s\n", file.c_str(), reason.c_str());
    return kUnplayable;
}

int Render(Module& module, const SongOptions& options, const std::string& output) {
    SongPlayer player(module, options);
    std::vector<std::uint8_t> bytes;
    constexpr std::uint32_t kChunkFrames = 65536;
    for (std::uint32_t rendered = 1; rendered != 0;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + std::size_t{kChunkFrames} * player.frameBytes());
        rendered = player.render(bytes.data() + used, kChunkFrames);
        bytes.resize(used + std::size_t{rendered} * player.frameBytes());
    }
    const bool toStdout = output == "-";
    std::FILE* out = toStdout ? stdout : std::fopen(output.c_str(), "wb");
    if (out == nullptr) return Fail(output, "cannot be written");
    wave::Writer writer(out, {options.rate, static_cast<std::uint16_t>(options.stereo ? 2 : 1), 8}, bytes.size());
    const bool written = writer.write(bytes.data(), bytes.size()) && writer.finish();
    if (!toStdout && std::fclose(out) != 0) return Fail(output, "cannot be written");
    return written ? 0 : Fail(output, "cannot be written");
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Plays a four-track, 31-sample tracker module (M.K., M!K!, 4CHN, FLT4).", "orbitfend-modplay"};
    std::string file, output;
    bool info = false;
    SongOptions options;
    app.add_option("file", file, "the module to play")->required();
    app.add_option("--render", output, "render to this WAVE file instead of playing (- for stdout)");
    app.add_flag("--info", info, "describe the module instead of playing it");
    app.add_option("--rate", options.rate, "output rate in Hz")->check(CLI::IsMember({11025, 22050, 44100}));
    app.add_flag("--stereo", options.stereo, "two output channels");
    app.add_option("--separation", options.separation, "stereo separation, 0 none to 255 full")
        ->check(CLI::Range(0, 255));
    app.add_option("--loop", options.extraPasses, "play the song this many more times");
    app.add_option("--volume", options.volume, "music volume, 0..64")->check(CLI::Range(0, 64));
    app.footer(
        "Exit codes: 0 played, rendered or described; 1 a file that cannot be played or written;\n"
        "2 bad usage; 3 no audio device to play on.");
    app.set_version_flag("--version", "orbitfend-modplay " ORBITFEND_VERSION);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error, std::cerr, std::cerr);
        return code == 0 ? 0 : kUsageError;
    }

    // The engine takes relative names from the program's folder; the user
    // means the current one.
    Module module;
    std::error_code ignored;
    const std::string path = std::filesystem::absolute(file, ignored).string();
    if (module.loadFile(path.c_str()) == 0) return Fail(file, "cannot be read (missing, empty or unreadable)");
    std::string reason;
    if (!modplay::CheckFourTrackModule(module.data(), module.size(), reason)) return Fail(file, reason);

    if (info) {
        modplay::PrintSongInfo(stderr, module);
        return 0;
    }
    if (!output.empty()) return Render(module, options, output);
    const std::unique_ptr<platform::AudioOut> device = platform::sdl::MakeSdlAudioOut("orbitfend-modplay");
    platform::SetActiveAudioOut(device.get());
    const int result = modplay::PlayLive(module, options, file);
    platform::SetActiveAudioOut(nullptr);
    return result;
}
