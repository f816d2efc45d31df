// The module's interface to the page (web/README.md lists it): start-up, the
// passes that are due, keys and focus, the frame for the canvas and the sound
// for the AudioWorklet. Every call comes from the page's main thread; a
// returned buffer stays valid until the next call into the module.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "graphics/volume_overlay.h"
#include "platform/settings_store.h"
#include "platform/web/local_storage_store.h"
#include "platform/web/web_platform.h"
#include "shell/app_main.h"
#include "shell/globals.h"
#include "shell/options.h"
#include "sound/sound_system.h"

#define ORBITFEND_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

using namespace platform;

// More behind than this, the page was away (no animation frames): the time
// it missed is skipped rather than played through at once.
constexpr std::uint32_t kMaxLagMs = 1000;
// A bound on one call's passes, so that the page is never held long.
constexpr int kMaxPassesPerCall = 400;

// Everything the running program uses, alive from of_init on; the backend's
// families are active for as long as it lives.
struct Page {
    VolumeOverlay overlay;
    web::PageBackend backend{overlay};
    web::PulledAudioOut audio;
    web::LocalStorageStore settings;
    std::uint32_t nextPass = 0;
    bool running = false;
};

std::unique_ptr<Page> page;
std::vector<std::uint8_t> mixed;

void install(Page* p) {
    SetActiveAudioOut(p ? &p->audio : nullptr);
    SetActiveSettingsStore(p ? &p->settings : nullptr);
}

void endProgram() {
    EndProgram();
    DestroyProgramObjects();
    page->running = false;
    install(nullptr);
}

}  // namespace

ORBITFEND_EXPORT(of_init) std::int32_t of_init() {
    if (page) return 0;
    SetOptions(Options{});
    page = std::make_unique<Page>();
    install(page.get());
    ConstructProgramObjects();
    if (!StartInstance()) {
        DestroyProgramObjects();
        install(nullptr);
        return 0;
    }
    page->running = true;
    page->nextPass = page->backend.now();
    return 1;
}

ORBITFEND_EXPORT(of_run_due_passes) std::int32_t of_run_due_passes(std::uint32_t nowMs) {
    if (!page || !page->running) return 0;
    page->backend.setPageTime(nowMs);
    page->backend.catchUp(nowMs, kMaxLagMs);
    for (int passes = 0; passes < kMaxPassesPerCall; ++passes) {
        const bool inputWaits = page->backend.pending();
        if (!inputWaits && !TickReached(nowMs, page->nextPass)) break;
        if (!inputWaits) page->backend.waitForPass(page->nextPass, false);
        const PassResult result = RunPass();
        page->nextPass = result.nextPass;
        if (!result.goOn) {
            endProgram();
            return 0;
        }
    }
    return 1;
}

ORBITFEND_EXPORT(of_key) void of_key(std::int32_t vk, std::int32_t down) {
    if (page) page->backend.key(vk, down != 0);
}

ORBITFEND_EXPORT(of_focus) void of_focus(std::int32_t active) {
    if (page) page->backend.focus(active != 0);
}

ORBITFEND_EXPORT(of_frame_rgba) const std::uint8_t* of_frame_rgba() {
    if (page) return page->backend.rgba();
    static const std::vector<std::uint8_t> black = [] {
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 4, 0);
        for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
        return rgba;
    }();
    return black.data();
}

// Desktop: the volume bar and the sound-off note, for the page to lay over
// the frame on the canvas; null while there is nothing to lay over it.
ORBITFEND_EXPORT(of_overlay_rgba) const std::uint8_t* of_overlay_rgba(std::uint32_t nowMs) {
    return page && page->running ? page->backend.overlayRgba(nowMs) : nullptr;
}

ORBITFEND_EXPORT(of_sound_rate) std::uint32_t of_sound_rate() { return 11025; }

// The engine renders straight into the page's buffer: this call takes the
// mixing thread's place, so the engine's own rotation stays unused here.
ORBITFEND_EXPORT(of_mix) const std::uint8_t* of_mix(std::uint32_t frames) {
    mixed.assign(frames, 128);
    if (page && page->running && page->audio.playing() && soundSystem.started() && frames > 0)
        soundSystem.renderBuffer(mixed.data(), frames);
    return mixed.data();
}

ORBITFEND_EXPORT(of_alloc) void* of_alloc(std::uint32_t bytes) { return std::malloc(bytes == 0 ? 1 : bytes); }
ORBITFEND_EXPORT(of_free) void of_free(void* pointer) { std::free(pointer); }
