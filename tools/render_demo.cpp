// Writes the pages of the realistic demo week (tests/common/realistic_week.h) as HTML, for
// looking at a design in a browser and for the screenshots of the documentation.
//
//     render_demo PROGRAM_FOLDER OUTPUT_FOLDER WIDTH HEIGHT frame|noframe
//
// PROGRAM_FOLDER holds the template folder "vorlagen"; the pages refer to its pictures by
// absolute file addresses, as the program's pages do. "frame" builds the pages as for a window
// with its frame (white background), "noframe" as for the see-through window. The day texts
// are written by the program's own page code over the fake calendar source.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/fake_safe_item_library.h"
#include "adapters/fake/memory_settings_store.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "adapters/linux/linux_file_system.h"
#include "common/realistic_week.h"
#include "core/app/program_exit.h"
#include "core/outlook/item_access.h"
#include "core/outlook/used_folders.h"
#include "core/page/day_text.h"
#include "core/page/day_text_sources.h"
#include "core/page/design_loader.h"
#include "core/page/main_folder_style.h"
#include "core/page/page_renderer.h"

namespace {

using namespace planwarte;

int Usage() {
    std::cerr << "usage: render_demo PROGRAM_FOLDER OUTPUT_FOLDER WIDTH HEIGHT frame|noframe\n";
    return 2;
}

// Where a page's failures go: the tool has no trace log, so they are printed.
void Report(const std::string& text) {
    std::cerr << "render_demo: " << text << "\n";
}

// One page of the week, built the way the main window builds it: the used folders loaded from
// the settings, the day texts written from them.
std::string RenderWeekPage(const realistic_week::WeekView& view, const FileSystem& files,
                           const std::string& program_folder, PixelSize window, bool frame_shown,
                           RecordingNotice& notice) {
    MemorySettingsStore settings;
    const std::shared_ptr<FakeOutlook> outlook = FakeOutlook::Create();
    realistic_week::PlantWeek(*outlook, settings, view);
    const std::shared_ptr<OlApplication> application = outlook->Factory()->CreateApplication();
    application->Connect();
    const std::shared_ptr<OlNamespace> session = application->GetNamespace("MAPI");

    UsedFolderList calendars;
    UsedFolderList tasks;
    const FolderStyle current = MainFolderStyle(settings);
    LoadUsedCalendars(settings, *session, current, {}, calendars);
    LoadUsedTasks(settings, *session, current, {}, tasks);

    const TemplateSet templates = LoadDesign(DesignSources{.settings = settings,
                                                           .files = files,
                                                           .program_folder = program_folder,
                                                           .progress_step = {},
                                                           .notice = notice});
    VirtualClock clock{realistic_week::Now()};
    VirtualEventLoop loop{clock};
    FakeSafeItemLibrary safe_items;
    SafeItemMessageFlags safe_item_messages;
    const DayTextSources sources{.calendars = calendars,
                                 .tasks = tasks,
                                 .safe_items = safe_items,
                                 .safe_item_messages = safe_item_messages,
                                 .notice = notice,
                                 .clock = clock,
                                 .loop = loop,
                                 .template_folder = templates.folder,
                                 .trace = Report,
                                 .progress_step = [](const std::string&) {},
                                 .ensure_session = [] {}};
    PageContext context{
        .files = files,
        .settings = settings,
        .clock = clock,
        .templates = templates,
        .window_frame_shown = frame_shown,
        .window = window,
        .screen = window,
    };
    const DayTextsOfBuild day_texts(context, sources);
    return RenderCalendarPage(context, DateOf(realistic_week::Now()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        return Usage();
    }
    std::string program_folder = std::filesystem::absolute(argv[1]).lexically_normal().string();
    if (program_folder.back() != '/') {
        program_folder += '/';
    }
    const std::filesystem::path output_folder = argv[2];
    const PixelSize window{std::atoi(argv[3]), std::atoi(argv[4])};
    const std::string frame = argv[5];
    if (window.width <= 0 || window.height <= 0 || (frame != "frame" && frame != "noframe")) {
        return Usage();
    }

    LinuxFileSystem files;
    RecordingNotice notice;
    std::filesystem::create_directories(output_folder);
    for (const realistic_week::WeekView& view : realistic_week::kWeekViews) {
        try {
            const std::string page =
                RenderWeekPage(view, files, program_folder, window, frame == "frame", notice);
            std::ofstream(output_folder / (std::string(view.name) + ".htm"), std::ios::binary)
                << page;
            // A message of the page build (such as a missing safe-item library) is no page.
            if (!notice.messages.empty()) {
                Report(std::string(view.name) + ": " + notice.messages.front());
                return 1;
            }
        } catch (const ProgramExit&) {
            for (const std::string& message : notice.messages) {
                Report(message);
            }
            return 1;
        } catch (const std::exception& error) {
            Report(std::string(view.name) + ": " + error.what());
            return 1;
        }
    }
    return 0;
}
