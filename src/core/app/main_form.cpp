#include "core/app/main_form.h"

#include <stdexcept>

#include "core/app/application_message_filter.h"
#include "core/app/clock.h"
#include "core/app/desktop_window.h"
#include "core/app/event_loop.h"
#include "core/app/file_system.h"
#include "core/app/guarded_handler.h"
#include "core/app/host_services.h"
#include "core/app/page_view.h"
#include "core/app/periodic_timers.h"
#include "core/app/program.h"
#include "core/app/program_exit.h"
#include "core/app/window_duty_timers.h"
#include "core/assistant/assistant.h"
#include "core/assistant/reminder_handler.h"
#include "core/common/string_table.h"
#include "core/outlook/change_detection.h"
#include "core/outlook/object_model.h"
#include "core/outlook/outlook_commands.h"
#include "core/outlook/watch_used_folders.h"
#include "core/page/day_text.h"
#include "core/page/design_loader.h"
#include "core/page/main_folder_style.h"
#include "core/page/page_context.h"
#include "core/page/page_renderer.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

constexpr const char* kInstanceLockName = "MKF (for Outlook)";
constexpr const char* kSecondInstanceArgument = "neuzeichnen";
constexpr int kFallbackWindowTop = 10;
constexpr const char* kPageFileName = "calendar.htm";
constexpr const char* kDroppedBuildTrace = "_21_";
// The step of the x-days views when the settings key cannot be opened, and when xTage is absent.
constexpr int kStepDaysWithoutKey = 1;
constexpr int kStepDaysAbsent = 5;

// Used when the platform shows no page: the page is still built (and stored when asked to).
class NoPageView : public PageView {
  public:
    void ShowPage(const std::string&) override {}
};

// Clears the busy mark however the build ends, so the next request builds again.
class BusyMarkGuard {
  public:
    explicit BusyMarkGuard(bool& mark) : mark_(mark) { mark_ = true; }
    ~BusyMarkGuard() { mark_ = false; }
    BusyMarkGuard(const BusyMarkGuard&) = delete;
    BusyMarkGuard& operator=(const BusyMarkGuard&) = delete;

  private:
    bool& mark_;
};

// Hands the calendar program's events to the main window.
class MainWindowOutlookEvents : public OlApplicationEvents {
  public:
    MainWindowOutlookEvents(std::function<void()> new_mail,
                            std::function<void(const std::shared_ptr<OlItem>&)> reminder)
        : new_mail_(std::move(new_mail)), reminder_(std::move(reminder)) {}
    void NewMail() override { new_mail_(); }
    void Reminder(const std::shared_ptr<OlItem>& item) override { reminder_(item); }

  private:
    std::function<void()> new_mail_;
    std::function<void(const std::shared_ptr<OlItem>&)> reminder_;
};

// The pause before the mail check that new mail starts.
constexpr int kNewMailSettleMs = 2000;

}  // namespace

TForm1::TForm1(Services& services, StartMode mode, std::vector<std::string> arguments,
               std::unique_ptr<SplashWindow> splash)
    : services_(services),
      mode_(mode),
      arguments_(std::move(arguments)),
      splash_(std::move(splash)),
      temp_folder_(services.folders.TempFolder()) {
    outlook_ = std::make_unique<OutlookSession>(
        services_.outlook.CreateApplication(), services_.notice,
        OutlookSession::Hooks{
            .progress_step = [this](const std::string& text) { ProgressStep(text); },
            .trace = [this](const std::string& text) { DebugTrace(text); },
            .close_main_window = [this] { services_.loop.Quit(0); },
        });
    assistant_ = std::make_unique<Assistant>(
        AssistantServices{
            .speech = mode_ == StartMode::Desktop ? services_.speech : nullptr,
            .settings = services_.settings,
            .clock = services_.clock,
            .loop = services_.loop,
            .files = services_.files,
            .notice = services_.notice,
            .trace = [this](const std::string& text) { DebugTrace(text); },
            .component_checks = services_.component_checks,
        },
        english_edition_);
    reminder_handler_ = std::make_unique<ReminderHandler>(ReminderServices{
        .host = assistant_->Host(),
        .loop = services_.loop,
        .clock = services_.clock,
        .settings = services_.settings,
        .safe_items = services_.safe_items,
        .safe_item_messages = safe_item_messages_,
        .notice = services_.notice,
        .calendars = services_.outlook,
        .announce_time = [this] { assistant_->CheckTime(true); },
    });
    CreateTimers();
    if (mode_ == StartMode::Desktop) {
        periodic_timers_->StartMinuteTimer();
    }
}

TForm1::~TForm1() {
    // The timers' callbacks and the folders' item sinks point into this window.
    periodic_timers_->Stop();
    window_timers_->Stop();
    change_detector_->Stop();
    used_calendars_.clear();
    used_tasks_.clear();
    if (outlook_events_set_) {
        try {
            outlook_->Application().SetEvents(nullptr);
        } catch (const std::exception&) {
            // The application goes with the session right after.
        }
    }
}

void TForm1::CreateTimers() {
    change_detector_ = std::make_unique<ChangeDetector>(
        services_.loop, services_.clock, [this](DateTime now) { BuildCalendarPage(now); });
    periodic_timers_ = std::make_unique<PeriodicTimers>(
        services_.loop, services_.clock,
        PeriodicDuties{
            .check_new_mail = Guarded([this] { assistant_->CheckNewMail(*outlook_); }),
            .assistant_idle_tick = Guarded([this] { assistant_->Host().IdleTick(); }),
            .time_announcement_check = Guarded([this] { assistant_->CheckTime(false); }),
            .sayings_check = Guarded([this] { assistant_->CheckSayings(program_folder_); }),
            .rebuild_page = [this](DateTime now) { BuildCalendarPage(now); },
            .set_appointment_intro_pending = [this] { appointment_intro_pending_ = true; },
        });
    WindowTimerDuties duties{
        .startup_complete = [this] { return startup_complete_; },
        .rebuild_page_for_today = [this] { GoHome(); },
    };
    // Without a window its duties stay empty and are skipped.
    if (DesktopWindow* window = services_.window) {
        duties.mouse_over_page = [window] { return window->MouseOverPage(); };
        duties.fade_in = [window] { window->FadeIn(); };
        duties.fade_out = [window] { window->FadeOut(); };
        duties.switch_frame_off = [window] { window->SetFrameVisible(false); };
        duties.save_geometry = [window] { window->SaveGeometry(); };
    }
    window_timers_ = std::make_unique<WindowDutyTimers>(services_.loop, std::move(duties));
}

std::function<void()> TForm1::Guarded(std::function<void()> handler) {
    return GuardedHandler(std::move(handler),
                          [this](const std::string& text) { DebugTrace(text); });
}

void TForm1::ProgressStep(const std::string& text) {
    if (!splash_) {
        return;
    }
    splash_->SetProgress(progress_step_, progress_maximum_);
    splash_->SetMessage(text);
    services_.loop.ProcessPendingMessages();
    ++progress_step_;
}

void TForm1::FormCreate() {
    // The help menu's caption decides the language; it is the German "Hilfe".
    english_edition_ = false;
    tray_tool_tip_ = LoadStr(msg::kProductCaption);

    ProgressStep(LoadStr(msg::kInitialising));
    outlook_->ConnectOutlook();
    if (mode_ == StartMode::Desktop) {
        outlook_events_ = std::make_unique<MainWindowOutlookEvents>(
            Guarded([this] { OutlookApplication1NewMail(); }),
            [this](const std::shared_ptr<OlItem>& item) {
                Guarded([this, &item] { OutlookApplication1Reminder(item); })();
            });
        outlook_->Application().SetEvents(outlook_events_.get());
        outlook_events_set_ = true;
    }
    program_folder_ = services_.folders.ProgramFolder();
    appointment_intro_pending_ = true;
    AgentHost& agent = assistant_->Host();
    if (mode_ == StartMode::Desktop) {
        agent.SetForce(false);
        agent.TakeWorkArea();
        // A character that fails to start must not keep the calendar from starting.
        Guarded([&agent] { agent.LoadAgent(0, 0, true); })();
    }
    ProgressStep(LoadStr(msg::kProductCaption));
    templates_ =
        LoadDesign({.settings = services_.settings,
                    .files = services_.files,
                    .program_folder = program_folder_,
                    .progress_step = [this](const std::string& text) { ProgressStep(text); },
                    .notice = services_.notice});
    ProgressStep(LoadStr(msg::kLoadingTemplates));

    if (mode_ == StartMode::Desktop) {
        if (agent.Available()) {
            Guarded([this] { assistant_->Greet(); })();
        }
        TakeSingleInstance();
    }
    page_font_size_ = 8;
    if (mode_ == StartMode::Desktop) {
        periodic_timers_->StartTrayTimer();
        BuildCalendarPage(DateOf(services_.clock.Now()));
        // Announces the time at once when announcements are on.
        Guarded([this] { assistant_->CheckTime(true); })();
    }
    window_top_ = ReadWindowTop();
    startup_complete_ = true;
}

std::string TForm1::BuildPageText(DateTime build_date, PixelSize window, PixelSize screen) {
    if (!page_) {
        // The first build loads the used folders, each starting from the style the main
        // settings give now.
        LoadUsedFolders();
        page_ = std::make_unique<PageContext>(PageContext{
            .files = services_.files, .settings = services_.settings, .clock = services_.clock});
    }
    ProgressStep(LoadStr(msg::kReadingCalendar));
    page_->templates = templates_;
    page_->english_edition = english_edition_;
    page_->window = window;
    page_->screen = screen;
    const DayTextSources sources = DayTextSourcesOfBuild();
    const DayTextsOfBuild day_texts(*page_, sources);
    try {
        return RenderCalendarPage(*page_, build_date);
    } catch (const MissingBodyTemplate&) {
        services_.notice.ShowMessage(LoadStr(msg::kDesignIncomplete));
        throw ProgramExit{1};
    }
}

PixelSize TForm1::DefaultPageWindow() {
    auto key = services_.settings.OpenKey(kSettingsKeyPath, true);
    const int view_kind = key ? ReadIntegerSetting(*key, "VORLAGE") : 1;
    return DefaultWindowSize(view_kind, kRenderScreen);
}

void TForm1::BuildCalendarPage(DateTime build_date) {
    if (busy_mark_) {
        DebugTrace(kDroppedBuildTrace);
        return;
    }
    {
        BusyMarkGuard busy(busy_mark_);
        try {
            BuildAndShowPage(build_date);
        } catch (const ProgramExit&) {
            throw;
        } catch (const std::exception& error) {
            // The view keeps the previous page; the next request builds again.
            services_.notice.ShowMessage(error.what());
            return;
        }
        FinishFirstPageBuild();
    }
    CleanUpSafeItemLibrary(services_.safe_items);
}

void TForm1::BuildAndShowPage(DateTime build_date) {
    auto key = services_.settings.OpenKey(kSettingsKeyPath, true);
    const bool create_html_file = key && ReadBoolSetting(*key, "CreateHtmlFile");
    key.reset();
    const std::string page = BuildPageText(build_date, DefaultPageWindow(), kRenderScreen);
    if (page.empty()) {
        return;
    }
    if (create_html_file) {
        const std::string path = temp_folder_ + kPageFileName;
        if (!services_.files.WriteTempFile(path, page, false)) {
            throw std::runtime_error("Datei " + path + " kann nicht geschrieben werden");
        }
    }
    View().ShowPage(page);
}

void TForm1::FinishFirstPageBuild() {
    first_page_build_ = false;
    if (splash_) {
        splash_->Close();
        splash_.reset();
    }
}

DateTime TForm1::FirstShownDay() const {
    return page_ ? page_->layout.first_shown_day : DateTime{};
}

void TForm1::GoHome() {
    BuildCalendarPage(DateOf(services_.clock.Now()));
}

void TForm1::StepForward() {
    Step(StepForwardDay);
}

void TForm1::StepBack() {
    Step(StepBackDay);
}

void TForm1::Step(DateTime (*step_day)(int view_kind, DateTime first_shown_day, int x_days)) {
    if (!page_) {
        // Nothing shown yet to step from.
        GoHome();
        return;
    }
    // The day moves even when the build is then dropped as a nested request.
    page_->layout.first_shown_day =
        step_day(page_->values.view_kind, page_->layout.first_shown_day, ReadStepDays());
    BuildCalendarPage(page_->layout.first_shown_day);
}

int TForm1::ReadStepDays() {
    auto key = services_.settings.OpenKey(kSettingsKeyPath, false);
    return key ? ReadIntegerOr(*key, "xTage", kStepDaysAbsent) : kStepDaysWithoutKey;
}

PageView& TForm1::View() {
    static NoPageView no_page_view;
    return services_.page_view ? *services_.page_view : no_page_view;
}

void TForm1::TakeSingleInstance() {
    if (!services_.instance_lock || services_.instance_lock->Acquire(kInstanceLockName)) {
        return;
    }
    const bool second_instance_allowed =
        !arguments_.empty() && arguments_.front() == kSecondInstanceArgument;
    if (!second_instance_allowed) {
        // The remaining start-up steps still run; the message loop then ends at once.
        end_requested_ = true;
    }
}

void TForm1::LoadUsedFolders() {
    const std::shared_ptr<OlNamespace>& outlook = outlook_->Namespace();
    if (!outlook) {
        return;
    }
    const FolderStyle current = MainFolderStyle(services_.settings);
    const planwarte::RaiseProgressMaximum raise = [this] { RaiseProgressMaximum(); };
    LoadUsedCalendars(services_.settings, *outlook, current, raise, used_calendars_);
    LoadUsedTasks(services_.settings, *outlook, current, raise, used_tasks_);
    WatchUsedFolders(used_calendars_, *change_detector_);
    WatchUsedFolders(used_tasks_, *change_detector_);
}

void TForm1::OutlookApplication1NewMail() {
    services_.loop.Sleep(kNewMailSettleMs);
    assistant_->CheckNewMail(*outlook_);
}

void TForm1::OutlookApplication1Reminder(const std::shared_ptr<OlItem>& item) {
    reminder_handler_->OnReminder(item);
}

void TForm1::Kalenderffnen1Click() {
    // Errors go on to the message loop's handler, which traces them.
    outlook_->EnsureOutlookSession();
    if (const std::shared_ptr<OlNamespace>& outlook = outlook_->Namespace()) {
        if (const auto calendar = outlook->GetDefaultFolder(kDefaultFolderCalendar)) {
            calendar->Display();
        }
    }
}

void TForm1::neuerTermin1Click() {
    StartCalendarProgram(services_.shell, NewAppointmentStart());
}

void TForm1::neueAufgabe1Click() {
    StartCalendarProgram(services_.shell, NewTaskStart());
}

void TForm1::MailClick() {
    StartCalendarProgram(services_.shell, NewMailStart());
}

void TForm1::TrayIconDoubleClick() {
    StartCalendarProgram(services_.shell, SelectCalendarStart());
}

void TForm1::OpenOutlookItem(const std::string& folder_entry_id, const std::string& item_entry_id) {
    planwarte::OpenOutlookItem(services_.settings, &outlook_->Application(),
                               outlook_->Namespace().get(), folder_entry_id, item_entry_id,
                               [this](const std::string& text) { DebugTrace(text); });
}

void TForm1::Fensterrahmensichtbar1Click() {
    if (services_.window) {
        services_.window->SetFrameVisible(!services_.window->FrameVisible());
    }
}

bool TForm1::FilterApplicationMessage(std::uint32_t message) {
    return planwarte::FilterApplicationMessage(
        message, {.mouse_moved = [this] { window_timers_->MouseMoved(); }});
}

void TForm1::SystemFrameOffCommand() {
    window_timers_->RequestFrameOff();
}

void TForm1::WindowResized() {
    window_timers_->WindowResized();
}

void TForm1::FormCloseQuery() {
    reminder_handler_->CloseQuery();
}

void TForm1::FormClose() {
    // Ends any wait for the character.
    assistant_->Host().SetStop(true);
    periodic_timers_->Stop();
    if (close_handled_) {
        return;
    }
    close_handled_ = true;
    try {
        assistant_->Host().UnloadAgent();
    } catch (const std::exception& error) {
        DebugTrace(std::string("_17_") + error.what());
    }
    change_detector_->Stop();
    window_timers_->Stop();
    if (outlook_events_set_) {
        outlook_->Application().SetEvents(nullptr);
        outlook_events_set_ = false;
    }
    // Freeing a folder object ends its item-event connection.
    used_calendars_.clear();
    used_tasks_.clear();
    outlook_->CloseOutlookSession();
    try {
        CleanUpSafeItemLibrary(services_.safe_items);
    } catch (const std::exception& error) {
        DebugTrace(std::string("_18_") + error.what());
    }
}

DayTextSources TForm1::DayTextSourcesOfBuild() {
    return DayTextSources{
        .calendars = used_calendars_,
        .tasks = used_tasks_,
        .safe_items = services_.safe_items,
        .safe_item_messages = safe_item_messages_,
        .notice = services_.notice,
        .clock = services_.clock,
        .loop = services_.loop,
        .template_folder = templates_.folder,
        .english_edition = english_edition_,
        .pause_between_tasks_ms = outlook_->Application().PauseBetweenTasksMs(),
        .first_page_build = first_page_build_,
        .trace = [this](const std::string& text) { DebugTrace(text); },
        .progress_step = [this](const std::string& text) { ProgressStep(text); },
        .ensure_session = [this] { outlook_->EnsureOutlookSession(); },
        .announce_appointment =
            [this](const std::string& time_text, const std::string& subject) {
                assistant_->AnnounceAppointment(
                    {.intro_pending = appointment_intro_pending_, .tray_tool_tip = tray_tool_tip_},
                    time_text, subject);
            },
    };
}

int TForm1::ReadWindowTop() {
    auto key = services_.settings.OpenKey(kSettingsKeyPath, true);
    if (!key) {
        return kFallbackWindowTop;
    }
    try {
        const int top = key->ReadInteger("VORLAGE") != 0 ? key->ReadInteger("FormPosTopNormal")
                                                         : key->ReadInteger("FormPosTopMonth");
        return top < 0 ? kFallbackWindowTop : top;
    } catch (const SettingsError&) {
        return kFallbackWindowTop;
    }
}

}  // namespace planwarte
