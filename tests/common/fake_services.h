#pragma once

#include <memory>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/fake_safe_item_library.h"
#include "adapters/fake/memory_file_system.h"
#include "adapters/fake/memory_settings_store.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "core/app/services.h"
#include "core/app/trace_log.h"
#include "core/common/date_time.h"

namespace planwarte::testing_support {

inline constexpr const char* kProgramFolder = "/opt/planwarte/";
inline constexpr const char* kTempFolder = "/tmp/pw/";
inline constexpr const char* kTraceFile = "/tmp/pw/planwartedebug.log";

// Every service of the program as a fake, on a fixed date (Wednesday, 8 December 2004, 9:00),
// with a calendar source holding a calendar, a task folder and an inbox.
struct FakeServices {
    FakeServices()
        : clock(EncodeDateTime(2004, 12, 8, 9, 0)),
          loop(clock),
          folders(kProgramFolder, kTempFolder),
          trace(files, kTempFolder),
          outlook(FakeOutlook::Create()),
          outlook_factory(outlook) {
        outlook->AddCalendar("Kalender");
        outlook->AddTaskFolder("Aufgaben");
        outlook->AddInbox();
        AddMinimalDesign();
    }

    // Templates of every slot, each naming its role, so a test sees which ones were expanded.
    void AddMinimalDesign() {
        const std::string folder = std::string(kProgramFolder) + "vorlagen/";
        files.AddFile(folder + "haupt.mkf", "<html><#KALENDER></html>\n");
        files.AddFile(folder + "monat.mkf", "<#MONTH>:<#DAY DATEOFFSET=2>");
        files.AddFile(folder + "tag.mkf", "[<#DAY>]");
        for (const char* body : {"woche", "2wochen", "3wochen", "heute"}) {
            files.AddFile(folder + body + ".mkf", std::string(body) + " <#DAY DATEOFFSET=0>");
        }
        files.AddFile(folder + "xtage.mkf", "xtage<#XTAGE>");
        files.AddFile(folder + "xtagetag.mkf", " <#DAY>");
    }

    // The services of a desktop start; page rendering passes no lock and no splash.
    Services Desktop() {
        Services services = Page();
        services.instance_lock = &instance_lock;
        services.splash = &splash;
        return services;
    }
    Services Page() {
        return Services{.settings = settings,
                        .clock = clock,
                        .loop = loop,
                        .files = files,
                        .folders = folders,
                        .notice = notice,
                        .trace = trace,
                        .outlook = outlook_factory,
                        .safe_items = safe_items};
    }

    std::string TraceText() const { return files.ReadFile(kTraceFile).value_or(""); }

    MemorySettingsStore settings;
    VirtualClock clock;
    VirtualEventLoop loop;
    MemoryFileSystem files;
    FixedFolders folders;
    RecordingNotice notice;
    TraceLog trace;
    std::shared_ptr<FakeOutlook> outlook;
    FakeApplicationFactory outlook_factory;
    FakeSafeItemLibrary safe_items;
    FakeInstanceLock instance_lock;
    RecordingSplashFactory splash;
};

}  // namespace planwarte::testing_support
