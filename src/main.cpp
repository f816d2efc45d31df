// The program's entry: reads the command line, checks it, chooses the
// backend, builds the program's long-lived objects, runs AppMain and tears
// them down again.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "graphics/volume_overlay.h"
#include "platform/audio_out.h"
#include "platform/headless/headless_backend.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/settings_store.h"
#include "resources/resources.h"
#include "shell/app_main.h"
#include "shell/globals.h"
#include "shell/key_bindings.h"
#include "shell/key_script.h"
#include "shell/lost_output.h"
#include "shell/options.h"
#include "shell/recording/session.h"
#include "shell/screenshot.h"
#include "shell/settings.h"
#include "shell/sound_capture.h"
#include "shell/timed_screenshots.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kLostOutput = 1;  // a file that could not be read or written, or an output lost on the way

// The command line as written, before its values are checked.
struct CommandLine {
    Options options;
    std::string layout = "normal";
    std::string pixelFormat = "565";
    std::vector<std::string> screenshots;
    std::vector<std::string> dropped;
    std::vector<std::string> headlessOnlyGiven;  // names of headless options given
};

bool parseScreenshot(const std::string& text, Screenshot& shot) {
    auto colon = text.find(':');
    if (colon == 0 || colon == std::string::npos || colon + 1 == text.size()) return false;
    std::string ms = text.substr(0, colon);
    if (ms.find_first_not_of("0123456789") != std::string::npos || ms.size() > 10) return false;
    unsigned long long value = std::stoull(ms);
    if (value > 0xFFFFFFFFull) return false;
    shot.tick = static_cast<std::uint32_t>(value);
    shot.path = text.substr(colon + 1);
    return true;
}

bool parseDroppedResource(const std::string& text, std::pair<std::string, std::uint32_t>& entry) {
    auto colon = text.find(':');
    if (colon == std::string::npos) return false;
    std::string type = text.substr(0, colon), id = text.substr(colon + 1);
    if (type != "BITMAP" && type != "ICON" && type != "WAVE" && type != "PTMOD") return false;
    if (id.empty() || id.size() > 5 || id.find_first_not_of("0123456789") != std::string::npos) return false;
    entry = {type, static_cast<std::uint32_t>(std::stoul(id))};
    return entry.second <= 65535;
}

// Reads the arguments into `line`. Returns -1 to go on, else the exit code
// (help, version, or a usage error already reported).
int readCommandLine(int argc, char** argv, CommandLine& line) {
    Options& options = line.options;
    CLI::App app{"orbitfend: a single-screen arcade shooter", "orbitfend"};
    app.set_version_flag("--version", "orbitfend 1.0.0");

    app.add_option("--scale", options.scale, "Window scale (a whole number); default: the largest that fits")
        ->check(CLI::Range(1, 16));
    app.add_option("--settings", options.settingsDir, "Directory that holds the settings file");
    app.add_flag("--no-sound", options.noSound, "Play without sound");
    // Desktop: a session can be recorded, replayed (in a window or headless)
    // and traced, so that a bug report can carry exactly what happened.
    auto* record = app.add_option("--record", options.recordPath, "Record the session into FILE, to replay it later");
    app.add_option("--replay", options.replayPath, "Replay the session recorded in FILE")->excludes(record);
    app.add_option("--trace", options.tracePath, "Write a JSON Lines state trace, one line per pass");
    app.add_flag("--trace-world", options.traceWorld, "Add the aliens, bombs, shields and ground to the trace");
    // Desktop: the options that drive the program in tests come under a
    // heading of their own, after the player's.
    auto* harness = app.add_option_group("Test harness", "Options for driving the program in tests");
    harness->add_flag("--headless", options.headless, "Run without a window: virtual clock, scripted keys");
    harness->add_option("--layout", line.layout, "Frame buffer layout")
        ->check(CLI::IsMember({"normal", "rot90", "flipy"}));
    harness->add_option(
        "--keys", options.keysPath,
        "Key script: '<ms> down <vk>', '<ms> up <vk>', '<ms> deactivate', '<ms> focus-lost', '<ms> focus-gained'");
    harness->add_option("--until", options.until, "End (as a close request) once the clock passes MS");
    harness
        ->add_option("--screenshot", line.screenshots,
                     "MS:FILE.png, the frame presented at the first pass at or after MS")
        ->allow_extra_args(false);
    harness->add_option("--pixel-format", line.pixelFormat, "Display pixel format")
        ->check(CLI::IsMember({"565", "555"}));
    harness->add_option("--drop-resource", line.dropped, "TYPE:ID, a resource to leave out (BITMAP, ICON, WAVE, PTMOD)")
        ->allow_extra_args(false);
    harness->add_option("--wav", options.wavPath, "Capture the sound output as a WAV file");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "orbitfend: %s\n", e.what());
        return kUsageError;
    }
    for (const CLI::Option* option : harness->get_options()) {
        const std::string name = option->get_name();
        if (option->count() > 0 && name != "--headless" && name != "--layout") line.headlessOnlyGiven.push_back(name);
    }
    options.untilGiven = app.count("--until") > 0;
    options.settingsGiven = app.count("--settings") > 0;
    return -1;
}

// Turns the written values into options. Returns -1 when they hold together,
// else the exit code of the usage error it reported.
int checkCommandLine(CommandLine& line) {
    Options& options = line.options;
    for (const std::string& text : line.screenshots) {
        Screenshot shot;
        if (!parseScreenshot(text, shot)) {
            std::fprintf(stderr, "orbitfend: --screenshot %s: expected MS:FILE.png\n", text.c_str());
            return kUsageError;
        }
        options.screenshots.push_back(shot);
    }
    for (const std::string& text : line.dropped) {
        std::pair<std::string, std::uint32_t> entry;
        if (!parseDroppedResource(text, entry)) {
            std::fprintf(stderr, "orbitfend: --drop-resource %s: expected TYPE:ID\n", text.c_str());
            return kUsageError;
        }
        options.droppedResources.push_back(entry);
    }
    if (!options.headless && !line.headlessOnlyGiven.empty()) {
        std::fprintf(stderr, "orbitfend: %s needs --headless\n", line.headlessOnlyGiven.front().c_str());
        return kUsageError;
    }
    options.layout = line.layout == "rot90"   ? platform::FrameLayout::Rot90
                     : line.layout == "flipy" ? platform::FrameLayout::FlipY
                                              : platform::FrameLayout::Normal;
    options.pixelFormat = line.pixelFormat == "555" ? platform::kFormat555 : platform::kFormat565;
    return -1;
}

// The backend the options ask for, with what they give it; null with a
// message in `error`.
std::unique_ptr<platform::Backend> openBackend(const Options& options, VolumeOverlay& overlay, std::string& error) {
    const platform::FrameGeometry frame = platform::GeometryFor(options.layout, options.pixelFormat);
    if (!options.headless)
        return platform::sdl::OpenSdlBackend(error, {frame, options.scale}, {&overlay, SaveScreenshot});
    platform::headless::HeadlessSetup setup{frame, {}, std::nullopt, TimedScreenshots(options.screenshots)};
    if (!options.keysPath.empty() && !LoadKeyScript(options.keysPath, setup.keys, error)) return nullptr;
    if (options.untilGiven) setup.until = options.until;
    return platform::headless::OpenHeadlessBackend(std::move(setup));
}

int run(const Options& options) {
    SetOptions(options);
    for (const auto& [type, id] : options.droppedResources) resources::DropResource(type.c_str(), id);
    std::string error;
    VolumeOverlay volumeOverlay;  // outlives the backend that lays it over the window
    std::unique_ptr<platform::Backend> backend = openBackend(options, volumeOverlay, error);
    if (backend == nullptr) {
        std::fprintf(stderr, "orbitfend: %s\n", error.c_str());
        // A key script that cannot be used is bad usage; no display is no output.
        return options.headless ? kUsageError : kLostOutput;
    }
    std::unique_ptr<platform::SettingsStore> settings = MakeSettingsStore(options);
    if (!options.headless) LoadKeyBindings(*settings);
    platform::SetActiveSettingsStore(settings.get());
    recording::Session session;
    if (!session.begin(options, *settings, options.headless ? platform::headless::AdvanceTo : nullptr, error)) {
        std::fprintf(stderr, "orbitfend: %s\n", error.c_str());
        platform::SetActiveSettingsStore(nullptr);
        return kUsageError;
    }

    // Desktop: a missing sound device is said once; the game plays on.
    // FIX: --no-sound leaves the engine unstarted on the desktop too. (A
    // headless run with it has no device, as a machine without one.)
    std::unique_ptr<platform::AudioOut> desktopAudio;
    if (!options.headless && !options.noSound)
        desktopAudio = platform::sdl::MakeSdlAudioOut("orbitfend", "orbitfend: no sound device: playing without sound");
    WavCapture capture(options.wavPath);
    if (options.headless && !options.wavPath.empty()) platform::headless::SetSoundCapture(&capture);
    platform::SetActiveAudioOut(options.noSound    ? nullptr
                                : options.headless ? &platform::headless::HeadlessAudioOut()
                                                   : desktopAudio.get());

    ConstructProgramObjects();
    const int result = AppMain();
    DestroyProgramObjects();
    session.end();
    platform::SetActiveSettingsStore(nullptr);
    platform::SetActiveAudioOut(nullptr);
    platform::headless::SetSoundCapture(nullptr);
    desktopAudio.reset();
    backend.reset();
    // FIX: an output the run was asked to write and lost ends it with exit
    // status 1, whatever the game's own ending was.
    return OutputLost() ? kLostOutput : result;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (int exitCode = readCommandLine(argc, argv, line); exitCode >= 0) return exitCode;
    if (int exitCode = checkCommandLine(line); exitCode >= 0) return exitCode;
    return run(line.options);
}
