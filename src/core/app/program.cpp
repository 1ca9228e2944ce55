#include "core/app/program.h"

#include <exception>
#include <memory>

#include "core/app/clock.h"
#include "core/app/event_loop.h"
#include "core/app/host_services.h"
#include "core/app/main_form.h"
#include "core/app/program_exit.h"
#include "core/app/start_delay.h"
#include "core/app/trace_log.h"
#include "core/outlook/object_model.h"
#include "core/outlook/outlook_session.h"
#include "core/outlook/used_folders.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

int RunProgram(Services& services, const std::vector<std::string>& arguments) {
    services.trace.StartRun();
    try {
        WaitStartDelay(services.clock, services.loop, ReadStartDelaySeconds(services.settings));
        std::unique_ptr<SplashWindow> splash;
        if (services.splash) {
            splash = services.splash->CreateSplash();
        }
        TForm1 form(services, StartMode::Desktop, arguments, std::move(splash));
        form.FormCreate();
        if (form.EndRequested()) {
            return 0;
        }
        const int exit_code = services.loop.Run();
        form.FormCloseQuery();
        form.FormClose();
        return exit_code;
    } catch (const ProgramExit& exit) {
        return exit.exit_code;
    } catch (const std::exception& error) {
        // What escapes the start-up is shown once; the program then ends normally.
        services.notice.ShowMessage(error.what());
        return 0;
    }
}

RenderedPage RenderPage(Services& services, std::optional<DateTime> date) {
    services.trace.StartRun();
    try {
        ReadStartDelaySeconds(services.settings);
        TForm1 form(services, StartMode::PageOnly, {}, nullptr);
        form.FormCreate();
        const DateTime build_date = date ? *date : DateOf(services.clock.Now());
        return {0, form.BuildPageText(build_date, form.DefaultPageWindow(), kRenderScreen)};
    } catch (const ProgramExit& exit) {
        return {exit.exit_code, {}};
    } catch (const std::exception& error) {
        // Shown as the desktop start shows it, but a page that could not be made is a failure
        // for whoever asked for it, so the exit code says so.
        services.notice.ShowMessage(error.what());
        return {1, {}};
    }
}

namespace {

// A calendar session of its own, outside the main window; throws ProgramExit{1} after telling
// the user when the source cannot be reached.
std::unique_ptr<OutlookSession> ConnectedSession(Services& services) {
    auto session = std::make_unique<OutlookSession>(
        services.outlook.CreateApplication(), services.notice,
        OutlookSession::Hooks{
            .progress_step = nullptr,
            .trace = [&services](const std::string& text) { services.trace.DebugTrace(text); },
            .close_main_window = [&services] { services.loop.Quit(0); }});
    session->ConnectOutlook();
    return session;
}

// Whether the user (or an earlier start) chose folders: a sub-key of a listed folder that says
// whether it is shown. The default calendar's entry and the bare sub-keys a folder listing
// leaves do not count.
bool AnyFolderChosen(SettingsStore& settings) {
    for (const char* list : {kUsedCalendarsKeyName, kUsedTasksKeyName}) {
        const std::string list_path = std::string(kSettingsKeyPath) + "\\" + list;
        auto key = settings.OpenKey(list_path, false);
        if (!key) {
            continue;
        }
        for (const std::string& name : key->SubKeyNames()) {
            if (name == kDefaultCalendarLineName) {
                continue;
            }
            std::string folder_path = list_path;
            folder_path += '\\';
            folder_path += name;
            auto folder = settings.OpenKey(folder_path, false);
            if (folder && folder->ValueExists("isUsed")) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void ChooseEveryFolderOnFirstStart(Services& services) {
    if (AnyFolderChosen(services.settings)) {
        return;
    }
    const auto trace = [&services](const std::string& text) { services.trace.DebugTrace(text); };
    try {
        const std::unique_ptr<OutlookSession> session = ConnectedSession(services);
        FolderChoices choices =
            EnumerateOutlookFolders(services.settings, *session->Namespace(), trace);
        for (auto* list : {&choices.calendars, &choices.tasks}) {
            for (FolderChoice& choice : *list) {
                choice.used = true;
            }
        }
        SaveFolderChoices(services.settings, choices);
        // Holidays in red and items in their own colours, so that nothing of the source is
        // hidden; the settings dialog turns them off per folder.
        for (const FolderChoice& calendar : choices.calendars) {
            if (auto key =
                    services.settings.OpenKey(std::string(kSettingsKeyPath) + "\\" +
                                                  kUsedCalendarsKeyName + "\\" + calendar.entry_id,
                                              true)) {
                key->WriteBool("HolidayInUse", true);
                key->WriteBool("UseOLFontColor", true);
            }
        }
        session->CloseOutlookSession();
    } catch (const ProgramExit&) {
        // The start proper tells the user that the calendar source cannot be reached.
    } catch (const std::exception& error) {
        trace(std::string("MAIN:::") + error.what());
    }
}

RenderedPage ListFolders(Services& services) {
    services.trace.StartRun();
    const auto trace = [&services](const std::string& text) { services.trace.DebugTrace(text); };
    try {
        const std::unique_ptr<OutlookSession> session = ConnectedSession(services);
        const FolderChoices choices =
            EnumerateOutlookFolders(services.settings, *session->Namespace(), trace);
        std::string text;
        const auto add = [&text](const std::vector<FolderChoice>& list, int item_type) {
            for (const FolderChoice& choice : list) {
                text += choice.entry_id + "\t" + choice.store_id + "\t" +
                        std::to_string(item_type) + "\t" + (choice.used ? "1" : "0") + "\t" +
                        choice.caption + "\n";
            }
        };
        add(choices.calendars, kItemTypeAppointment);
        add(choices.tasks, kItemTypeTask);
        session->CloseOutlookSession();
        return {0, text};
    } catch (const ProgramExit& exit) {
        return {exit.exit_code, {}};
    } catch (const std::exception& error) {
        services.notice.ShowMessage(error.what());
        return {1, {}};
    }
}

}  // namespace planwarte
