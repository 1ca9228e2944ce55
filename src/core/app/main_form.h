#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/app/page_script_objects.h"
#include "core/app/services.h"
#include "core/app/trace_log.h"
#include "core/common/date_time.h"
#include "core/outlook/item_access.h"
#include "core/outlook/outlook_session.h"
#include "core/outlook/used_folders.h"
#include "core/page/page_geometry.h"
#include "core/page/template_set.h"

namespace planwarte {

class Assistant;
class ChangeDetector;
class PageView;
class PeriodicTimers;
class ReminderHandler;
class SplashWindow;
class WindowDutyTimers;
struct DayTextSources;
struct PageContext;

// How much of the program a start brings up. The page-only mode is the desktop start without
// window, tray, splash, assistant and single-instance lock.
enum class StartMode { Desktop, PageOnly };

// The main window: holds the state the subsystems share and routes between them. The work
// itself lives in the subsystem objects it owns.
class TForm1 : public PageCommands {
  public:
    // Takes ownership of the splash window, if one was created before the main window.
    TForm1(Services& services, StartMode mode, std::vector<std::string> arguments,
           std::unique_ptr<SplashWindow> splash);
    ~TForm1() override;

    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The creation handler: the ordered start-up steps up to the first page.
    void FormCreate();

    // The page text for a build date, laid out for a window of the given size on a screen.
    // A design whose view body is missing is reported (message 1205) and ends the program;
    // a template that cannot be expanded throws TemplateError.
    std::string BuildPageText(DateTime build_date, PixelSize window, PixelSize screen);
    const TemplateSet& Templates() const { return templates_; }
    // The window a page is laid out for while the window has no placement of its own: the
    // default size of the stored view kind on the render screen.
    PixelSize DefaultPageWindow();

    // Builds the page for the date and shows it; with CreateHtmlFile set it is also stored as
    // calendar.htm in the temporary folder. A request while a build runs is dropped (traced as
    // "_21_"); an error of the build is shown and the view keeps the previous page. The first
    // build closes the splash window.
    void BuildCalendarPage(DateTime build_date);
    // The page's buttons: today's page, and one view step forward or back from the first shown
    // day.
    void GoHome() override;
    void StepForward() override;
    void StepBack() override;
    // The first day of the page last laid out (zero before the first build); the navigation
    // steps move it.
    DateTime FirstShownDay() const;

    void DebugTrace(const std::string& message) override { services_.trace.DebugTrace(message); }

    // The calendar program's commands of the popup menu and the tray icon.
    void Kalenderffnen1Click();  // the default calendar in its own window
    void neuerTermin1Click();
    void neueAufgabe1Click();
    void MailClick();
    void TrayIconDoubleClick();  // the calendar program on its calendar
    // An entry of the page: the item in its own window.
    void OpenOutlookItem(const std::string& folder_entry_id,
                         const std::string& item_entry_id) override;
    // The popup menu's frame switch, also reached from the page.
    void Fensterrahmensichtbar1Click();
    void ToggleWindowFrame() override { Fensterrahmensichtbar1Click(); }

    // Every message of the main thread before it is dispatched; true when it was handled.
    bool FilterApplicationMessage(std::uint32_t message);
    // The system menu's frame entry and the system close command: the frame goes a second
    // later.
    void SystemFrameOffCommand();
    // The user resized the framed window.
    void WindowResized();

    // Before the close: running reminder workers are told to stop, with a moment to hear it.
    void FormCloseQuery();
    // The close handling: stops the timers and the change detection, frees the used folders
    // and ends the calendar session. Runs once; a second call only stops the timers again.
    void FormClose();
    // Shows a start-up step on the splash window; nothing once the splash is gone.
    void ProgressStep(const std::string& text);
    // Wraps an event handler so that its errors are traced instead of escaping.
    std::function<void()> Guarded(std::function<void()> handler);

    // True when this instance found another one running and is to end without its close
    // handling.
    bool EndRequested() const { return end_requested_; }
    bool StartupComplete() const { return startup_complete_; }
    bool FirstPageBuild() const { return first_page_build_; }
    bool AppointmentIntroPending() const { return appointment_intro_pending_; }
    bool EnglishEdition() const { return english_edition_; }
    const std::string& ProgramFolder() const { return program_folder_; }
    const std::string& TempFolder() const { return temp_folder_; }
    const std::string& TrayToolTip() const { return tray_tool_tip_; }
    int PageFontSize() const { return page_font_size_; }
    int WindowTop() const { return window_top_; }
    int ProgressMaximum() const { return progress_maximum_; }
    void RaiseProgressMaximum() { ++progress_maximum_; }
    bool HasSplash() const { return splash_ != nullptr; }

    OutlookSession& Outlook() { return *outlook_; }
    // The speaking character and what it says by itself.
    Assistant& SpeakingAssistant() { return *assistant_; }
    ChangeDetector& ChangeDetection() { return *change_detector_; }
    TraceLog& Trace() { return services_.trace; }
    Services& Platform() { return services_; }

  private:
    void TakeSingleInstance();
    int ReadWindowTop();
    void LoadUsedFolders();
    void CreateTimers();
    // New mail: a moment for the mail to settle, then the check.
    void OutlookApplication1NewMail();
    // A reminder of the calendar program: read out and repeated by the assistant.
    void OutlookApplication1Reminder(const std::shared_ptr<OlItem>& item);
    // Lays out, writes the page file when asked to and shows the page; throws what the build
    // cannot get past.
    void BuildAndShowPage(DateTime build_date);
    void FinishFirstPageBuild();
    // Moves the first shown day by the view's step and builds the page for it.
    void Step(DateTime (*step_day)(int view_kind, DateTime first_shown_day, int x_days));
    // The step of the x-days and today views.
    int ReadStepDays();
    PageView& View();
    // What the day texts of the page being built are written from, gathered once per build.
    DayTextSources DayTextSourcesOfBuild();

    Services& services_;
    StartMode mode_;
    std::vector<std::string> arguments_;
    std::unique_ptr<SplashWindow> splash_;
    std::string temp_folder_;
    std::unique_ptr<OutlookSession> outlook_;
    // The calendar program's own events: new mail and reminders.
    std::unique_ptr<OlApplicationEvents> outlook_events_;
    bool outlook_events_set_ = false;
    std::unique_ptr<Assistant> assistant_;
    // Declared before the used-folder lists: the folders' item sinks report to it, so it must
    // outlive them.
    std::unique_ptr<ChangeDetector> change_detector_;
    std::unique_ptr<PeriodicTimers> periodic_timers_;
    std::unique_ptr<WindowDutyTimers> window_timers_;
    TemplateSet templates_;
    // Lives as long as the window: the first shown day and the month grid's row mark carry
    // over from one build to the next.
    std::unique_ptr<PageContext> page_;
    // The calendars and task folders the page shows, loaded with the first page build.
    UsedFolderList used_calendars_;
    UsedFolderList used_tasks_;
    SafeItemMessageFlags safe_item_messages_;

    std::string program_folder_;
    std::string tray_tool_tip_;
    bool english_edition_ = false;
    bool startup_complete_ = false;
    bool first_page_build_ = true;
    bool appointment_intro_pending_ = true;
    bool end_requested_ = false;
    bool close_handled_ = false;
    // Set while a page build runs; nested requests (arriving while the build processes
    // messages) are dropped.
    bool busy_mark_ = false;
    int page_font_size_ = 8;
    int window_top_ = 10;
    // The splash bar: the start-up steps plus one per used folder.
    int progress_maximum_ = 11;
    std::uint16_t progress_step_ = 0;
    // Last, so that it goes first: its workers are stopped and waited for while everything
    // they reach is still there.
    std::unique_ptr<ReminderHandler> reminder_handler_;
};

}  // namespace planwarte
