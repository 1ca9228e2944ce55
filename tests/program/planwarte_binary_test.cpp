// Runs the built program as a user would, on files of its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

using testing_support::Slurp;
using testing_support::TempFolder;

class PlanwarteBinaryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("PLANWARTE_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "PLANWARTE_BIN_DIR names the folder of the built program";
        program_ = std::string(bin) + "/planwarte";
        std::filesystem::create_directory(folder_ / "temp");
        settings_ = folder_ / "settings.reg";
        log_ = folder_ / "temp/planwartedebug.log";
    }

    // Starts the program with its own settings file and temporary folder.
    pid_t Start(const std::vector<std::string>& arguments) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("PLANWARTE_SETTINGS", settings_.c_str(), 1);
            ::setenv("TEMP", (folder_ / "temp").c_str(), 1);
            ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
            const int out =
                ::open((folder_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            std::vector<char*> argv{program_.data()};
            std::vector<std::string> copies = arguments;
            for (auto& argument : copies) {
                argv.push_back(argument.data());
            }
            argv.push_back(nullptr);
            ::execv(program_.c_str(), argv.data());
            ::_exit(127);
        }
        return child;
    }

    static int Wait(pid_t child) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    int Run(const std::vector<std::string>& arguments) { return Wait(Start(arguments)); }

    std::string Stdout() const { return Slurp(folder_ / "stdout"); }

    TempFolder folder_;
    std::string program_;
    std::string settings_;
    std::string log_;
};

TEST_F(PlanwarteBinaryTest, RenderOnAnEmptySettingsFileStoresUseDelayAndTracesOnlyItsOwnRun) {
    std::ofstream(settings_).close();
    std::ofstream(log_) << "_3_ a line of an earlier run\n";

    EXPECT_EQ(Run({"--render"}), 0);

    EXPECT_NE(Slurp(settings_).find("\"UseDelay\"=dword:00000001"), std::string::npos)
        << Slurp(settings_);
    EXPECT_EQ(Slurp(log_).find("earlier run"), std::string::npos) << Slurp(log_);
}

TEST_F(PlanwarteBinaryTest, GarbageSettingsFileIsKeptAsideAndTheRunGoesOnWithDefaults) {
    const std::string garbage = "this is \x01 not a registry file\n[[[\n";
    std::ofstream(settings_) << garbage;

    EXPECT_EQ(Run({"--render"}), 0);

    std::string kept_aside;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
        if (entry.path().filename().string().starts_with("settings.reg.broken-")) {
            kept_aside = entry.path().string();
        }
    }
    ASSERT_NE(kept_aside, "") << "no settings.reg.broken-* beside the settings file";
    EXPECT_EQ(Slurp(kept_aside), garbage);
    EXPECT_NE(Slurp(log_).find(kept_aside), std::string::npos) << Slurp(log_);
    // The defaults of the run were stored in a fresh file.
    EXPECT_NE(Slurp(settings_).find("\"UseDelay\"=dword:00000001"), std::string::npos);
}

TEST_F(PlanwarteBinaryTest, RenderWritesThePageToTheNamedFile) {
    EXPECT_EQ(Run({"--render", "--date", "2004-12-08", "-o", folder_ / "page.htm"}), 0);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "page.htm"));
    EXPECT_EQ(Run({"--render", "-o", folder_ / "missing/page.htm"}), 1);
}

TEST_F(PlanwarteBinaryTest, UnusableCommandLineEndsWithUsage) {
    EXPECT_EQ(Run({"--render", "--date", "2004-02-30"}), 2);
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(Stdout().find("--render"), std::string::npos);
}

// True when another process holds the lock file.
bool HeldElsewhere(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

TEST_F(PlanwarteBinaryTest, SecondDesktopInstanceEndsUnlessAskedToRedraw) {
    std::ofstream(settings_) << "Windows Registry Editor Version 5.00\r\n\r\n"
                                "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
                                "\"UseDelay\"=dword:00000000\r\n";
    const pid_t first = Start({});
    const std::string lock = folder_ / "temp/MKF__for_Outlook_.lock";
    for (int i = 0; i < 500 && !HeldElsewhere(lock); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(HeldElsewhere(lock)) << "the first instance never took its lock";

    EXPECT_EQ(Run({}), 0);

    const pid_t redraw = Start({"neuzeichnen"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int status = 0;
    EXPECT_EQ(::waitpid(redraw, &status, WNOHANG), 0) << "the redraw instance should keep running";
    ::kill(redraw, SIGTERM);
    EXPECT_EQ(Wait(redraw), 0);

    ::kill(first, SIGTERM);
    EXPECT_EQ(Wait(first), 0);
}

// Sets an environment variable for the programs a test starts, and removes it afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { ::unsetenv(name_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST_F(PlanwarteBinaryTest, HeadlessProgramGreetsThroughItsSpeechAndEndsOnSigterm) {
    std::ofstream(settings_) << "Windows Registry Editor Version 5.00\r\n\r\n"
                                "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
                                "\"UseDelay\"=dword:00000000\r\n"
                                "\"CharacterUsed\"=dword:00000001\r\n"
                                "\"CreateHtmlFile\"=dword:00000001\r\n";
    const std::string speech_log = folder_ / "speech.log";
    const std::string speech_wav = folder_ / "speech.wav";
    // Never the sound device: the speech goes into a file.
    const ScopedEnvironment log("PLANWARTE_SPEECH_LOG", speech_log);
    const ScopedEnvironment output("PLANWARTE_SPEECH_OUTPUT", speech_wav);

    const pid_t headless = Start({"--headless"});
    for (int i = 0; i < 2000 && Slurp(speech_log).find("Speak(") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // A few seconds of the running program: its timers and announcements.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ::kill(headless, SIGTERM);
    EXPECT_EQ(Wait(headless), 0);

    // Shown, then greeted, before anything else is said.
    const std::vector<std::string> requests = Lines(Slurp(speech_log));
    ASSERT_GE(requests.size(), 2u) << Slurp(speech_log);
    EXPECT_EQ(requests[0], "Show");
    EXPECT_EQ(requests[1], "Speak(Hallo)");
    // The greeting was spoken into the file: more than half a second of 16-bit samples.
    EXPECT_GT(std::filesystem::file_size(speech_wav), 44u + 22050u);
    // The page was built and written.
    EXPECT_TRUE(std::filesystem::exists(folder_ / "temp/calendar.htm"));
}

TEST_F(PlanwarteBinaryTest, HeadlessProgramWithoutVoiceDataWritesTheInstallHelpAndSaysNothing) {
    std::ofstream(settings_) << "Windows Registry Editor Version 5.00\r\n\r\n"
                                "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
                                "\"UseDelay\"=dword:00000000\r\n"
                                "\"CharacterUsed\"=dword:00000001\r\n";
    const std::string speech_log = folder_ / "speech.log";
    std::filesystem::create_directory(folder_ / "no-voices");
    // espeak-ng looks for its voice data there and finds none.
    const ScopedEnvironment voices("ESPEAK_DATA_PATH", folder_ / "no-voices");
    const ScopedEnvironment log("PLANWARTE_SPEECH_LOG", speech_log);
    const ScopedEnvironment output("PLANWARTE_SPEECH_OUTPUT", folder_ / "speech.wav");

    const pid_t headless = Start({"--headless"});
    const std::string link = "Link: https://planwarte.invalid/dynlinks/index.php?go=spchapi.exe";
    const std::string again = "SAPI nicht installiert! (erneut)";
    for (int i = 0; i < 2000 && Slurp(log_).find(again) == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(headless, SIGTERM);
    EXPECT_EQ(Wait(headless), 0);

    // The first start writes the dialog: caption, text, link, and what to install; every
    // later start of the character only names it again.
    const std::vector<std::string> trace = Lines(Slurp(log_));
    const auto caption = std::find(trace.begin(), trace.end(), "SAPI nicht installiert!");
    ASSERT_NE(caption, trace.end()) << Slurp(log_);
    ASSERT_GE(trace.end() - caption, 4);
    EXPECT_EQ(caption[1],
              "Leider ist SAPI nicht installiert. Das Programm kann deshalb nicht ausgeführt "
              "werden. Um SAPI auf ihrem System zu installieren, folgen Sie bitte diesem Link.");
    EXPECT_EQ(caption[2], link);
    EXPECT_EQ(caption[3], "Unter Debian: apt-get install espeak-ng espeak-ng-data");
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "SAPI nicht installiert!"), 1);
    EXPECT_EQ(std::count(trace.begin(), trace.end(), link), 1);
    EXPECT_NE(std::find(trace.begin(), trace.end(), again), trace.end());
    // The character never started.
    EXPECT_EQ(Slurp(speech_log).find("Speak("), std::string::npos);
}

}  // namespace
}  // namespace planwarte
