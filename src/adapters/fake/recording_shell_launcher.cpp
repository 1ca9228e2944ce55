#include "adapters/fake/recording_shell_launcher.h"

#include "adapters/fake/virtual_clock.h"

namespace planwarte {

void RecordingShellLauncher::Open(const std::string& file, const std::string& parameters,
                                  int show_state) {
    starts.push_back({file, parameters, show_state, clock_ ? clock_->ElapsedMs() : 0});
}

std::vector<std::string> RecordingShellLauncher::Files() const {
    std::vector<std::string> files;
    for (const Start& start : starts) {
        files.push_back(start.file);
    }
    return files;
}

}  // namespace planwarte
