#include "shell/state_trace.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "game/game_state.h"
#include "game/sample_slots.h"
#include "graphics/surface.h"
#include "platform/clock.h"
#include "platform/lost_output.h"
#include "platform/options.h"

using Json = nlohmann::ordered_json;

namespace {

unsigned passCount = 0;
std::FILE* traceFile = nullptr;
char traceBuffer[1 << 16];

Json describeAlien(const Alien& a) {
    return Json{{"x", a.x}, {"y", a.y}, {"frame", a.frame}, {"state", a.state}, {"kind", a.kind}};
}

Json describeWorld() {
    Json world;
    Json columns = Json::array();
    for (const auto& column : gameState.aliens) {
        Json rows = Json::array();
        for (const Alien& alien : column) rows.push_back(describeAlien(alien));
        columns.push_back(rows);
    }
    world["aliens"] = columns;
    Json bombs = Json::array();
    for (const Bomb& b : gameState.bombs)
        bombs.push_back(Json{{"x", b.x}, {"y", b.y}, {"dy", b.dy}, {"state", b.state}});
    world["bombs"] = bombs;
    // Each shield as 13 rows of 17 cells, the top row first.
    Json shields = Json::array();
    for (const auto& shield : gameState.shields) {
        std::string cells;
        for (int cy = 0; cy < kShieldRows; ++cy)
            for (int cx = 0; cx < kShieldColumns; ++cx) cells += shield[cx][cy] ? '1' : '0';
        shields.push_back(cells);
    }
    world["shields"] = shields;
    std::string ground;
    for (std::uint8_t cell : gameState.ground) ground += cell ? '1' : '0';
    world["ground"] = ground;
    return world;
}

// The record of the current state as one JSON object (no newline).
std::string describeState(unsigned pass, unsigned tick, bool withWorld) {
    const GameState& s = gameState;
    Json line{
        {"pass", pass},
        {"tick", tick},
        {"mode", s.mode},
        {"modeDeadline", s.modeDeadline},
        {"score", s.score},
        {"highScore", s.highScore},
        {"volume", s.volume},
        {"volumeScale", s.volumeScale},
        {"screenWidth", s.screenWidth},
        {"screenHeight", s.screenHeight},
        {"colourKey", colourKey},
        {"aliensLeft", s.aliensLeft},
        {"marchStep", s.marchStep},
        {"marchIndex", s.marchIndex},
        {"marchNote", s.marchNote},
        {"stepDownSweep", s.stepDownSweep},
        {"edgeReached", s.edgeReached},
        {"cannon", {{"x", s.cannon.x}, {"y", s.cannon.y}, {"state", s.cannon.state}, {"lives", s.cannon.lives}}},
        {"shot", {{"x", s.shot.x}, {"y", s.shot.y}, {"dy", s.shot.dy}, {"active", s.shot.active}}},
        {"ship", {{"x", s.ship.x}, {"y", s.ship.y}, {"state", s.ship.state}, {"dx", s.ship.dx}, {"kind", s.ship.kind}}},
        {"shipDue", s.shipDue},
        {"shipSoundOn", s.shipSoundOn},
        {"shipChannel", s.shipChannel},
        {"wave", s.wave},
        {"fireLatch", s.fireLatch},
        {"lastFrameTick", s.lastFrameTick},
    };
    if (withWorld) line.update(describeWorld());
    line["played"] = TakePlayedSlots();
    return line.dump();
}

}  // namespace

bool OpenStateTrace() {
    const std::string& path = platform::CurrentOptions().tracePath;
    if (path.empty() || traceFile != nullptr) return true;
    traceFile = std::fopen(path.c_str(), "wb");
    // A pass writes about half a kilobyte; a larger buffer than the C
    // library's (1 KiB in wasi-libc) spares a write call for nearly every
    // line, and in the WebAssembly build each is a trip out of the module.
    // Given here, as musl takes no size without the memory.
    if (traceFile != nullptr) std::setvbuf(traceFile, traceBuffer, _IOFBF, sizeof traceBuffer);
    // An output that cannot be made is lost output, as one lost on the way is.
    if (traceFile == nullptr) platform::ReportLostOutput("trace file", path);
    return traceFile != nullptr;
}

void CloseStateTrace() {
    if (traceFile == nullptr) return;
    // FIX: a trace that lost lines (a full disk, a failed flush at close) is
    // reported, and the run fails, instead of ending as if it were whole.
    const bool lost = std::ferror(traceFile) != 0;
    if (std::fclose(traceFile) != 0 || lost)
        platform::ReportLostOutput("trace file", platform::CurrentOptions().tracePath);
    traceFile = nullptr;
}

void TracePass() {
    ++passCount;
    // Read whether traced or not, so that a recorded session makes the same
    // clock readings when it is replayed with a trace, or without one.
    const std::uint32_t tick = platform::ActiveClock().now();
    if (traceFile == nullptr) {
        TakePlayedSlots();
        return;
    }
    const std::string line = describeState(passCount, tick, platform::CurrentOptions().traceWorld);
    std::fwrite(line.data(), 1, line.size(), traceFile);
    std::fputc('\n', traceFile);
}
