#include "adapters/profile/profile_shell_launcher.h"

#include <utility>
#include <vector>

#include "adapters/profile/profile_command.h"
#include "core/outlook/outlook_commands.h"
#include "posix/detached_command.h"

namespace planwarte {

ProfileShellLauncher::ProfileShellLauncher(CalendarProgramCommands commands,
                                           std::function<void(const std::string&)> trace)
    : commands_(std::move(commands)), trace_(std::move(trace)) {}

void ProfileShellLauncher::Open(const std::string& file, const std::string& parameters, int) {
    struct Route {
        CalendarProgramStart start;
        const std::string& command;
        const std::string& folder;
    };
    const Route routes[] = {
        {NewAppointmentStart(), commands_.new_appointment, commands_.calendar_folder},
        {NewTaskStart(), commands_.new_task, commands_.task_folder},
        {NewMailStart(), commands_.new_mail, commands_.calendar_folder},
        {SelectCalendarStart(), commands_.calendar, commands_.calendar_folder},
    };
    if (file == kCalendarProgramFile) {
        for (const Route& route : routes) {
            if (parameters == route.start.parameters) {
                RunProfileCommand(route.command, route.folder, trace_);
                return;
            }
        }
    }
    if (trace_) {
        trace_("Programmstart unbekannt: " + file + " " + parameters);
    }
}

void RunProfileCommand(const std::string& command_line, const std::string& file,
                       const std::function<void(const std::string&)>& trace) {
    const std::string failure = StartDetached(CommandArguments(command_line, file));
    if (!failure.empty() && trace) {
        trace("Befehl \"" + command_line + "\" nicht gestartet: " + failure);
    }
}

}  // namespace planwarte
