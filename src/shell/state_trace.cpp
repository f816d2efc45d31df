#include "shell/state_trace.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

#include "game/game_state.h"
#include "game/sample_slots.h"
#include "graphics/surface.h"
#include "platform/clock.h"
#include "shell/lost_output.h"
#include "shell/options.h"

namespace {

unsigned passCount = 0;
std::FILE* traceFile = nullptr;
char traceBuffer[1 << 16];

// Writes one compact JSON object, members in the order they are given: no
// blanks, integers in decimal, strings as they are (the trace's names and its
// strings of '0' and '1' need no escapes). A line is written every pass of a
// run that lasts hours, so it goes straight into one reused buffer.
class JsonLine {
public:
    explicit JsonLine(std::string& out) : out_(out) { out_.clear(); }

    void open(char bracket) {
        separate();
        out_ += bracket;
        first_ = true;
    }
    void close(char bracket) {
        out_ += bracket;
        first_ = false;
    }
    // The name of the member whose value comes next.
    void name(std::string_view name) {
        separate();
        out_ += '"';
        out_ += name;
        out_ += "\":";
        first_ = true;
    }
    template <typename Integer>
    void number(Integer value) {
        static_assert(std::is_integral_v<Integer>);
        separate();
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        out_.append(digits, end);
    }
    void text(std::string_view value) {
        separate();
        out_ += '"';
        out_ += value;
        out_ += '"';
    }
    template <typename Integer>
    void member(std::string_view key, Integer value) {
        name(key);
        number(value);
    }

private:
    void separate() {
        if (!first_) out_ += ',';
        first_ = false;
    }

    std::string& out_;
    bool first_ = true;
};

void describeAlien(JsonLine& json, const Alien& a) {
    json.open('{');
    json.member("x", a.x);
    json.member("y", a.y);
    json.member("frame", a.frame);
    json.member("state", a.state);
    json.member("kind", a.kind);
    json.close('}');
}

void describeWorld(JsonLine& json) {
    json.name("aliens");
    json.open('[');
    for (const auto& column : gameState.aliens) {
        json.open('[');
        for (const Alien& alien : column) describeAlien(json, alien);
        json.close(']');
    }
    json.close(']');
    json.name("bombs");
    json.open('[');
    for (const Bomb& b : gameState.bombs) {
        json.open('{');
        json.member("x", b.x);
        json.member("y", b.y);
        json.member("dy", b.dy);
        json.member("state", b.state);
        json.close('}');
    }
    json.close(']');
    // Each shield as 13 rows of 17 cells, the top row first.
    json.name("shields");
    json.open('[');
    for (const auto& shield : gameState.shields) {
        char cells[kShieldRows * kShieldColumns];
        for (int cy = 0; cy < kShieldRows; ++cy)
            for (int cx = 0; cx < kShieldColumns; ++cx) cells[cy * kShieldColumns + cx] = shield[cx][cy] ? '1' : '0';
        json.text({cells, sizeof cells});
    }
    json.close(']');
    char ground[kGroundCells];
    for (int i = 0; i < kGroundCells; ++i) ground[i] = gameState.ground[i] ? '1' : '0';
    json.name("ground");
    json.text({ground, sizeof ground});
}

void describeState(std::string& out, unsigned pass, unsigned tick, bool withWorld) {
    const GameState& s = gameState;
    JsonLine json(out);
    json.open('{');
    json.member("pass", pass);
    json.member("tick", tick);
    json.member("mode", s.mode);
    json.member("modeDeadline", s.modeDeadline);
    json.member("score", s.score);
    json.member("highScore", s.highScore);
    json.member("volume", s.volume);
    json.member("volumeScale", s.volumeScale);
    json.member("screenWidth", s.screenWidth);
    json.member("screenHeight", s.screenHeight);
    json.member("colourKey", colourKey);
    json.member("aliensLeft", s.aliensLeft);
    json.member("marchStep", s.marchStep);
    json.member("marchIndex", s.marchIndex);
    json.member("marchNote", s.marchNote);
    json.member("stepDownSweep", s.stepDownSweep);
    json.member("edgeReached", s.edgeReached);
    json.name("cannon");
    json.open('{');
    json.member("x", s.cannon.x);
    json.member("y", s.cannon.y);
    json.member("state", s.cannon.state);
    json.member("lives", s.cannon.lives);
    json.close('}');
    json.name("shot");
    json.open('{');
    json.member("x", s.shot.x);
    json.member("y", s.shot.y);
    json.member("dy", s.shot.dy);
    json.member("active", s.shot.active);
    json.close('}');
    json.name("ship");
    json.open('{');
    json.member("x", s.ship.x);
    json.member("y", s.ship.y);
    json.member("state", s.ship.state);
    json.member("dx", s.ship.dx);
    json.member("kind", s.ship.kind);
    json.close('}');
    json.member("shipDue", s.shipDue);
    json.member("shipSoundOn", s.shipSoundOn);
    json.member("shipChannel", s.shipChannel);
    json.member("wave", s.wave);
    json.member("fireLatch", s.fireLatch);
    json.member("lastFrameTick", s.lastFrameTick);
    if (withWorld) describeWorld(json);
    json.name("played");
    json.open('[');
    for (const int slot : TakePlayedSlots()) json.number(slot);
    json.close(']');
    json.close('}');
}

}  // namespace

bool OpenStateTrace() {
    const std::string& path = CurrentOptions().tracePath;
    if (path.empty() || traceFile != nullptr) return true;
    traceFile = std::fopen(path.c_str(), "wb");
    // A pass writes about half a kilobyte; a larger buffer than the C
    // library's (1 KiB in wasi-libc) spares a write call for nearly every
    // line, and in the WebAssembly build each is a trip out of the module.
    // Given here, as musl takes no size without the memory.
    if (traceFile != nullptr) std::setvbuf(traceFile, traceBuffer, _IOFBF, sizeof traceBuffer);
    // An output that cannot be made is lost output, as one lost on the way is.
    if (traceFile == nullptr) ReportLostOutput("trace file", path);
    return traceFile != nullptr;
}

void CloseStateTrace() {
    if (traceFile == nullptr) return;
    // FIX: a trace that lost lines (a full disk, a failed flush at close) is
    // reported, and the run fails, instead of ending as if it were whole.
    const bool lost = std::ferror(traceFile) != 0;
    if (std::fclose(traceFile) != 0 || lost) ReportLostOutput("trace file", CurrentOptions().tracePath);
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
    static std::string line;
    describeState(line, passCount, tick, CurrentOptions().traceWorld);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), traceFile);
}
