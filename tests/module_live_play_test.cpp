// orbitfend-modplay's live play, run as the built program on SDL's dummy
// audio driver (which pulls as a sound card would but plays nowhere).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/module_builder.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

class LivePlay : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("orbitfend-live-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        song_ = (dir_ / "song.mod").string();
        const std::vector<std::uint8_t> bytes = modtest::ModuleBuilder()
                                                    .sample(1, {.name = "square",
                                                                .data = modtest::SquareWave(64, 16),
                                                                .volume = 48,
                                                                .repeatStartWords = 0,
                                                                .repeatLengthWords = 32})
                                                    .pattern(0, {{0, "C-2 01 F01"}})  // speed 1: the song lasts 1.3 s
                                                    .orders({0})
                                                    .build();
        std::ofstream(song_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Starts the player with SDL_AUDIODRIVER=`driver`, its stderr to a file.
    pid_t start(const std::string& driver, std::vector<std::string> arguments) {
        const std::string player = (fs::path(ORBITFEND_BINARY).parent_path() / "orbitfend-modplay").string();
        arguments.insert(arguments.begin(), player);
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env = {"SDL_AUDIODRIVER=" + driver};
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string(*e).rfind("SDL_AUDIODRIVER=", 0) != 0) env.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dir_ / "stderr.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, player.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    // Its exit code, or -1 when it did not exit by itself within a minute.
    static int finish(pid_t pid) {
        int status = 0;
        for (int waited = 0; waited < 6000; ++waited) {
            if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }

    std::string stderrText() const {
        std::ifstream in(dir_ / "stderr.txt");
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path dir_;
    std::string song_;
};

}  // namespace

TEST_F(LivePlay, PlaysASongToItsEndQuietlyWhenNotOnATerminal) {
    EXPECT_EQ(finish(start("dummy", {song_})), 0);
    EXPECT_EQ(stderrText(), "");  // no progress line into a file
}

TEST_F(LivePlay, SigintAndSigtermEachStopItCleanly) {
    for (int signal : {SIGINT, SIGTERM}) {
        const pid_t pid = start("dummy", {song_, "--loop", "1000"});
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(pid, signal);
        EXPECT_EQ(finish(pid), 0) << "signal " << signal;
    }
}

TEST_F(LivePlay, NoAudioDeviceExitsThreeWithOneLineOfItsOwn) {
    EXPECT_EQ(finish(start("no-such-driver", {song_})), 3);
    EXPECT_EQ(stderrText(), "orbitfend-modplay: " + song_ + ": no audio device to play on\n");
}
