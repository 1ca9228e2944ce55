#include "user_data.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "adapters/maildir/maildir_inbox.h"
#include "core/app/trace_log.h"

namespace planwarte {

namespace {

// How often the alarms are looked at: a reminder rings at most this late.
constexpr int kReminderCheckMs = 5000;

}  // namespace

UserData::UserData(const ProfileOptions& options, DateTime today, TraceLog& trace) : trace_(trace) {
    const auto trace_line = [this](const std::string& line) { trace_.DebugTrace(line); };
    profile_ = FindDataProfile(options, ProfileEnvironment::FromProcess(), today, trace_line);
    trace_line("profile: " + profile_.source);
    const DataProfile::Commands commands = profile_.commands;
    const auto open_path = [commands, trace_line](const std::string& path) {
        RunProfileCommand(commands.open, path, trace_line);
    };
    if (!profile_.maildir.empty()) {
        inbox_ = std::make_shared<MaildirInbox>(profile_.maildir, trace_line, open_path);
    }
    IcalSources sources{
        .store_roots = profile_.store_roots,
        .collection_roots = profile_.collection_roots,
        .task_list_roots = profile_.task_list_roots,
        .default_calendar = profile_.default_calendar,
        .make_inbox = [inbox = inbox_]() -> std::shared_ptr<OlFolder> {
            return inbox ? std::shared_ptr<OlFolder>(inbox) : MakeEmptyInbox();
        },
        .trace = trace_line,
        .open_path = open_path,
    };
    calendars_ = std::make_unique<IcalApplicationFactory>(std::move(sources));
    launcher_ = std::make_unique<ProfileShellLauncher>(
        CalendarProgramCommands{
            .calendar = commands.calendar,
            .new_appointment = commands.new_appointment,
            .new_task = commands.new_task,
            .new_mail = commands.new_mail,
            .calendar_folder = DefaultFolder(),
            .task_folder =
                profile_.store_roots.empty() ? std::string() : profile_.store_roots.front(),
        },
        trace_line);
}

UserData::~UserData() = default;

std::string UserData::DefaultFolder() const {
    if (!profile_.default_calendar.empty() || profile_.store_roots.empty()) {
        return profile_.default_calendar;
    }
    return profile_.store_roots.front();
}

void UserData::StartWatching(EventLoop& loop, const Clock& clock) {
    loop_ = &loop;
    WatchPaths(PathsToWatch());
    calendars_->RaiseDueReminders(clock.Now());
    reminder_timer_ = loop.CreateTimer(
        kReminderCheckMs, [this, &clock] { calendars_->RaiseDueReminders(clock.Now()); });
    reminder_timer_->SetEnabled(true);
}

std::vector<std::string> UserData::PathsToWatch() const {
    std::vector<std::string> paths = calendars_->WatchedPaths();
    if (inbox_) {
        paths.push_back((std::filesystem::path(profile_.maildir) / "new").string());
        paths.push_back((std::filesystem::path(profile_.maildir) / "cur").string());
    }
    return paths;
}

void UserData::WatchPaths(const std::vector<std::string>& paths) {
    watched_ = paths;
    watcher_.reset();
    try {
        watcher_ = std::make_unique<DirectoryWatcher>(
            paths, [this](std::vector<std::string>) { loop_->Post([this] { ReadChanges(); }); },
            [this](const std::string& line) { trace_.DebugTrace(line); });
    } catch (const std::system_error& error) {
        trace_.DebugTrace(std::string("Dateiueberwachung nicht moeglich: ") + error.what());
    }
}

void UserData::ReadChanges() {
    calendars_->Refresh();
    if (inbox_ && inbox_->Refresh()) {
        calendars_->RaiseNewMail();
    }
    if (std::vector<std::string> paths = PathsToWatch(); paths != watched_) {
        WatchPaths(paths);
    }
}

}  // namespace planwarte
