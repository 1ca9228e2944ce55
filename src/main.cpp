// The only place that knows every adapter: it picks the Linux parts, hands them to the core
// and runs the program in the mode the command line asks for.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "adapters/linux/console_notice.h"
#include "adapters/linux/linux_file_system.h"
#include "adapters/linux/linux_folders.h"
#include "adapters/linux/lock_file_instance_lock.h"
#include "adapters/linux/system_clock.h"
#include "adapters/linux/system_event_loop.h"
#include "adapters/regfile/regfile_store.h"
#include "adapters/speech/audio_output_choice.h"
#include "adapters/speech/espeak_speech_service.h"
#include "adapters/speech/logging_speech_service.h"
#include "adapters/speech/speech_components.h"
#include "command_line.h"
#include "core/app/program.h"
#include "core/app/services.h"
#include "core/app/trace_log.h"
#include "core/assistant/component_checks.h"
#include "headless_install_help.h"
#include "user_data.h"

#ifndef PLANWARTE_INSTALLED_DATA
#define PLANWARTE_INSTALLED_DATA "/usr/local/share/planwarte"
#endif

namespace {

using namespace planwarte;

// Ends the message loop on SIGINT and SIGTERM, so the program closes as it does from its menu.
void QuitOnSignals(SystemEventLoop& loop) {
    static sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([&loop] {
        int signal_number = 0;
        if (sigwait(&signals, &signal_number) == 0) {
            loop.RequestQuit(0);
        }
    }).detach();
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The assistant's voice without a desktop: espeak-ng into the output PLANWARTE_SPEECH_OUTPUT
// chooses, every request also written to the file PLANWARTE_SPEECH_LOG names.
class HeadlessSpeech {
  public:
    // Throws std::runtime_error when a file the environment names cannot be written.
    explicit HeadlessSpeech(TraceLog& trace) {
        const auto trace_line = [&trace](const std::string& line) { trace.DebugTrace(line); };
        // No screen: the character stands on one of the size the page is laid out for.
        const DesktopArea desktop{.screen_width = kRenderScreen.width,
                                  .screen_height = kRenderScreen.height,
                                  .work_left = 0,
                                  .work_top = 0,
                                  .work_right = kRenderScreen.width,
                                  .work_bottom = kRenderScreen.height};
        espeak_ = std::make_unique<EspeakSpeechService>(EspeakSpeechService::Options{
            .output = ChooseAudioOutput(EnvironmentValue("PLANWARTE_SPEECH_OUTPUT"), trace_line),
            .desktop = desktop,
            .trace = trace_line});
        const std::string log_path = EnvironmentValue("PLANWARTE_SPEECH_LOG");
        if (!log_path.empty()) {
            log_file_.open(log_path, std::ios::app);
            if (!log_file_) {
                throw std::runtime_error("cannot write the speech log " + log_path);
            }
            logging_ = std::make_unique<LoggingSpeechService>(*espeak_, log_file_);
        }
    }

    SpeechService& Service() {
        return logging_ ? static_cast<SpeechService&>(*logging_) : *espeak_;
    }

  private:
    std::unique_ptr<EspeakSpeechService> espeak_;
    std::ofstream log_file_;
    std::unique_ptr<LoggingSpeechService> logging_;
};

bool WriteOutput(const std::string& path, const std::string& text) {
    if (path.empty()) {
        std::cout << text;
        std::cout.flush();
        return static_cast<bool>(std::cout);
    }
    LinuxFileSystem files;
    return files.WriteFileAtomic(path, text);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CommandLine command = ParseCommandLine(arguments);
    if (!command.error.empty()) {
        std::cerr << "planwarte: " << command.error << "\n" << kUsage;
        return 2;
    }
    if (command.mode == CommandLine::Mode::kHelp) {
        std::cout << kUsage;
        return 0;
    }

    LinuxFileSystem files;
    LinuxFolders folders(PLANWARTE_INSTALLED_DATA);
    TraceLog trace(files, folders.TempFolder());
    RegFileStore settings(RegFileStore::DefaultSettingsPath(),
                          [&trace](const std::string& line) { trace.DebugTrace(line); });
    SystemClock clock;
    SystemEventLoop loop;
    ConsoleNotice notice;
    UserData user_data({.data_dirs = command.data_dirs, .maildir = command.maildir},
                       DateOf(clock.Now()), trace);
    LockFileInstanceLock instance_lock(folders.TempFolder());

    Services services{
        .settings = settings,
        .clock = clock,
        .loop = loop,
        .files = files,
        .folders = folders,
        .notice = notice,
        .trace = trace,
        .outlook = user_data.Calendars(),
        .safe_items = user_data.SafeItems(),
        .shell = &user_data.Launcher(),
    };

    // The demo is there to show everything the program can do, so all of it is shown.
    if (user_data.Profile().demo) {
        ChooseEveryFolderOnFirstStart(services);
    }

    if (command.mode == CommandLine::Mode::kListFolders) {
        const RenderedPage listing = ListFolders(services);
        std::cout << listing.html;
        return listing.exit_code;
    }
    if (command.mode == CommandLine::Mode::kRender) {
        const RenderedPage page = RenderPage(services, command.date);
        if (page.exit_code != 0) {
            return page.exit_code;
        }
        if (!WriteOutput(command.output, page.html)) {
            std::cerr << "planwarte: cannot write " << command.output << ": "
                      << std::strerror(errno) << "\n";
            return 1;
        }
        return 0;
    }

    std::unique_ptr<HeadlessSpeech> speech;
    if (command.mode == CommandLine::Mode::kHeadless) {
        try {
            speech = std::make_unique<HeadlessSpeech>(trace);
        } catch (const std::exception& error) {
            std::cerr << "planwarte: " << error.what() << ": " << std::strerror(errno) << "\n";
            return 1;
        }
        services.speech = &speech->Service();
    }
    // The components the character needs, checked at its first start. Without windows a
    // missing one's dialog is written out, so its link is never clicked.
    HeadlessInstallHelp install_help(trace, std::cerr);
    SpeechComponentProbes component_probes({
        .character_host = services.speech,
        .characters_folder = folders.ProgramFolder() + "chars/",
        // The espeak-ng speech service loads its own voice-only character.
        .built_in_character = true,
    });
    TMKFFehler component_checks({.probes = component_probes,
                                 .presenter = install_help,
                                 .shell = user_data.Launcher(),
                                 .loop = loop});
    services.component_checks = &component_checks;
    services.instance_lock = &instance_lock;
    // Before any further thread starts, so that every thread has the signals blocked and only
    // the waiting one receives them.
    QuitOnSignals(loop);
    user_data.StartWatching(loop, clock);
    return RunProgram(services, command.program_arguments);
}
