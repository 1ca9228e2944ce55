#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app/shell_launcher.h"

namespace planwarte {

class VirtualClock;

// Records every program the shell is asked to open, with the virtual time of the request
// when it is given a clock.
class RecordingShellLauncher : public ShellLauncher {
  public:
    struct Start {
        std::string file;
        std::string parameters;
        int show_state = 0;
        // Milliseconds of virtual time since the clock was made; 0 without a clock.
        std::int64_t at_ms = 0;
        friend bool operator==(const Start&, const Start&) = default;
    };

    explicit RecordingShellLauncher(const VirtualClock* clock = nullptr) : clock_(clock) {}

    void Open(const std::string& file, const std::string& parameters, int show_state) override;

    // The files opened, in order.
    std::vector<std::string> Files() const;

    std::vector<Start> starts;

  private:
    const VirtualClock* clock_;
};

}  // namespace planwarte
