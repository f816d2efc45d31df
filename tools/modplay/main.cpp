// orbitfend-modplay: plays a four-track tracker module through the audio
// device, renders it to a WAVE file, or describes it. --info and a render to
// stdout write to stdout; every other message goes to stderr with the
// program's name in front. Exit 0 on success, 1 for a file that cannot be
// played or written, 2 for bad usage (a render too long for a WAVE file too),
// 3 when there is no audio device to play on.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "live_play.h"
#include "module_check.h"
#include "platform/audio_out.h"
#include "platform/sdl/sdl_backend.h"
#include "song_info.h"
#include "sound/module.h"
#include "sound/song_player.h"
#include "sound/wave_writer.h"

namespace {

constexpr int kUnplayable = 1;
constexpr int kUsageError = 2;
constexpr const char* kProgram = "orbitfend-modplay";

int Fail(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, file.c_str(), reason.c_str());
    return kUnplayable;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return kUsageError;
}

// Writes the render as it plays: the header first, with the length measured
// by a silent run of the sequencer, then one block after another.
int Render(Module& module, const SongOptions& options, const std::string& output) {
    SongPlayer player(module, options);
    const std::uint64_t mostFrames = wave::kLargestData / player.frameBytes();
    const std::uint64_t frames = SongFrames(module, options, mostFrames + 1);
    if (frames > mostFrames)
        return UsageError(output +
                          ": the render would pass the 4 GiB a WAVE file holds; ask for fewer --loop "
                          "passes, a lower --rate, mono or 8 bits");
    const std::uint64_t bytes = frames * player.frameBytes();
    const bool toStdout = output == "-";
    std::FILE* out = toStdout ? stdout : std::fopen(output.c_str(), "wb");
    if (out == nullptr) return Fail(output, "cannot be written");
    const wave::Format format{options.rate, static_cast<std::uint16_t>(options.stereo ? 2 : 1),
                              static_cast<std::uint16_t>(options.bits)};
    wave::Writer writer(out, format, bytes);
    constexpr std::uint32_t kChunkFrames = 16384;
    std::vector<std::uint8_t> chunk(std::size_t{kChunkFrames} * player.frameBytes());
    bool written = true;
    while (std::uint32_t rendered = player.render(chunk.data(), kChunkFrames))
        written = writer.write(chunk.data(), std::size_t{rendered} * player.frameBytes()) && written;
    written = writer.finish() && written;
    if (!toStdout && std::fclose(out) != 0) written = false;
    return written ? 0 : Fail(output, "cannot be written");
}

// CLI11's message, on one line after the program's name, and the exit code.
int ParseFailure(const CLI::App& app, const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {  // --help, --version
        std::ostringstream text;
        app.exit(error, text, text);
        std::cout << text.str();
        return 0;
    }
    return UsageError(std::string(error.what()) + " (--help lists the options)");
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Plays a four-track, 31-sample tracker module (M.K., M!K!, 4CHN, FLT4).", kProgram};
    std::string file, output;
    bool info = false;
    SongOptions options;
    options.bits = 16;
    options.profile = {ReplayRules::accurate, Interpolation::linear};
    const std::map<std::string, ReplayRules> rules{{"classic", ReplayRules::classic},
                                                   {"accurate", ReplayRules::accurate}};
    const std::map<std::string, Interpolation> interpolations{{"none", Interpolation::none},
                                                              {"linear", Interpolation::linear}};
    app.add_option("file", file, "the module to play")->required();
    app.add_option("--render", output, "render to this WAVE file instead of playing (- for stdout)");
    app.add_flag("--info", info, "describe the module on stdout instead of playing it");
    app.add_option("--profile", options.profile.rules,
                   "accurate: as ProTracker plays it (the default); classic: as the game's engine plays it")
        ->transform(CLI::CheckedTransformer(rules, CLI::ignore_case).description(""))
        ->type_name("accurate|classic");
    app.add_option("--interpolation", options.profile.interpolation,
                   "between sample bytes under the accurate profile: linear (the default) or none")
        ->transform(CLI::CheckedTransformer(interpolations, CLI::ignore_case).description(""))
        ->type_name("linear|none");
    app.add_option("--rate", options.rate,
                   "output rate in Hz: 8000 to 96000 (accurate), 11025, 22050 or 44100 (classic)")
        ->check(CLI::Range(kLowestAccurateRate, kHighestAccurateRate));
    app.add_option("--bits", options.bits, "bits per output sample, 8 or 16 (the default)")
        ->check(CLI::IsMember({8, 16}));
    app.add_flag("--stereo", options.stereo, "two output channels");
    app.add_option("--separation", options.separation, "stereo separation, 0 none to 255 full")
        ->check(CLI::Range(0, 255));
    app.add_option("--loop", options.extraPasses, "play the song this many more times");
    app.add_option("--volume", options.volume, "music volume, 0..64")->check(CLI::Range(0, 64));
    app.footer(
        "Exit codes: 0 played, rendered or described; 1 a file that cannot be played or written;\n"
        "2 bad usage; 3 no audio device to play on.");
    app.set_version_flag("--version", std::string(kProgram) + " " ORBITFEND_VERSION);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return ParseFailure(app, error);
    }
    const bool classic = options.profile.rules == ReplayRules::classic;
    if (classic && options.rate != 11025 && options.rate != 22050 && options.rate != 44100)
        return UsageError("--rate: the classic profile plays at 11025, 22050 or 44100 Hz, not " +
                          std::to_string(options.rate));

    // The engine takes relative names from the program's folder; the user
    // means the current one.
    Module module;
    std::error_code ignored;
    const std::string path = std::filesystem::absolute(file, ignored).string();
    if (module.loadFile(path.c_str()) == 0) return Fail(file, "cannot be read (missing, empty or unreadable)");
    std::string reason;
    if (!modplay::CheckFourTrackModule(module.data(), module.size(), reason)) return Fail(file, reason);

    if (info) {
        modplay::PrintSongInfo(stdout, module, options);
        return std::fflush(stdout) == 0 ? 0 : Fail("stdout", "cannot be written");
    }
    if (!output.empty()) return Render(module, options, output);
    const std::unique_ptr<platform::AudioOut> device = platform::sdl::MakeSdlAudioOut("orbitfend-modplay");
    platform::SetActiveAudioOut(device.get());
    const int result = modplay::PlayLive(module, options, file);
    platform::SetActiveAudioOut(nullptr);
    return result;
}
