// A change written to a calendar file reaches the shown page the way it does in the running
// program: the file watcher sees it, the catalog reads it again on the main loop, the folder's
// item event starts the change detection, and one rebuild follows after the debounce.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/memory_file_system.h"
#include "adapters/fake/memory_settings_store.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "adapters/ical/ical_safe_item_library.h"
#include "adapters/linux/directory_watcher.h"
#include "core/app/main_form.h"
#include "core/app/page_view.h"
#include "core/app/services.h"
#include "core/app/trace_log.h"
#include "core/outlook/change_detection.h"
#include "ical_test_support.h"

namespace planwarte {
namespace {

using namespace ical_testing;

class LastPageView : public PageView {
  public:
    void ShowPage(const std::string& html) override {
        ++shown;
        page = html;
    }
    int shown = 0;
    std::string page;
};

std::string Appointment(const std::string& subject) {
    return Calendar({Event("zahnarzt@test", {"SUMMARY:" + subject, "DTSTART:20041208T140000",
                                             "DTEND:20041208T150000"})});
}

TEST(LiveChangeTest, RewrittenFileGivesOneRebuildAfterTheDebounceWithTheNewText) {
    ScopedTimeZone zone;
    testing_support::TempFolder root;
    const std::string file = root / "privat/zahnarzt.ics";
    WriteFile(file, Appointment("Zahnarzt"));

    IcalSources sources;
    sources.store_roots = {root.Path()};
    IcalApplicationFactory calendars(sources);
    IcalSafeItemLibrary safe_items;
    MemorySettingsStore settings;
    VirtualClock clock(EncodeDateTime(2004, 12, 8, 9, 0));
    VirtualEventLoop loop(clock);
    MemoryFileSystem files;
    FixedFolders folders("/opt/planwarte/", "/tmp/pw/");
    files.AddFile("/opt/planwarte/vorlagen/haupt.mkf", "<#KALENDER>");
    files.AddFile("/opt/planwarte/vorlagen/woche.mkf", "<#DAYTEXT DATEOFFSET=2>");
    for (const char* body : {"monat", "tag", "2wochen", "3wochen", "heute", "xtage", "xtagetag"}) {
        files.AddFile(std::string("/opt/planwarte/vorlagen/") + body + ".mkf", "");
    }
    RecordingNotice notice;
    TraceLog trace(files, "/tmp/pw/");
    LastPageView view;
    Services services{.settings = settings,
                      .clock = clock,
                      .loop = loop,
                      .files = files,
                      .folders = folders,
                      .notice = notice,
                      .trace = trace,
                      .outlook = calendars,
                      .safe_items = safe_items,
                      .page_view = &view};
    TForm1 form(services, StartMode::Desktop, {}, nullptr);
    form.FormCreate();
    ASSERT_EQ(view.shown, 1);
    ASSERT_NE(view.page.find("Zahnarzt"), std::string::npos) << view.page;

    DirectoryWatcher watcher(calendars.WatchedPaths(), [&](std::vector<std::string>) {
        loop.Post([&] { calendars.Refresh(); });
    });
    // Written beside and renamed over, as calendar clients save.
    WriteFile(file + ".tmp", Appointment("Zahnarzt verschoben"));
    std::filesystem::rename(file + ".tmp", file);
    for (int wait = 0; wait < 500 && loop.Pending().messages == 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GT(loop.Pending().messages, 0u) << "the watcher reported nothing";

    loop.AdvanceBy(ChangeDetector::kFirstDelayMs - 1);
    EXPECT_EQ(view.shown, 1);
    loop.AdvanceBy(1);
    EXPECT_EQ(view.shown, 2);
    EXPECT_NE(view.page.find("Zahnarzt verschoben"), std::string::npos) << view.page;
    loop.AdvanceBy(60000);
    EXPECT_EQ(view.shown, 2);
}

}  // namespace
}  // namespace planwarte
