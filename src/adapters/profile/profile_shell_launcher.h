#pragma once

#include <functional>
#include <string>

#include "core/app/shell_launcher.h"

// The calendar program's start switches, carried out by the user's own programs: each
// new-item command and the calendar view have a command line of the profile.
namespace planwarte {

struct CalendarProgramCommands {
    std::string calendar;         // the calendar view
    std::string new_appointment;  // "%f": the default calendar's folder
    std::string new_task;         // "%f": the first task list's folder
    std::string new_mail;
    std::string calendar_folder;
    std::string task_folder;
};

class ProfileShellLauncher : public ShellLauncher {
  public:
    ProfileShellLauncher(CalendarProgramCommands commands,
                         std::function<void(const std::string&)> trace);

    // Knows the calendar program's switches only; anything else is traced and not run.
    void Open(const std::string& file, const std::string& parameters, int show_state) override;

  private:
    CalendarProgramCommands commands_;
    std::function<void(const std::string&)> trace_;
};

// Runs a profile command line for a file; a failure is traced, never shown.
void RunProfileCommand(const std::string& command_line, const std::string& file,
                       const std::function<void(const std::string&)>& trace);

}  // namespace planwarte
