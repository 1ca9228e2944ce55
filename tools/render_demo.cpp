// Writes the six views of the demo calendar as HTML pages, for looking at a design in a
// browser and for the screenshots of the documentation.
//
//     render_demo PROGRAM_FOLDER OUTPUT_FOLDER WIDTH HEIGHT frame|noframe
//
// PROGRAM_FOLDER holds the template folder "vorlagen"; the pages refer to its pictures by
// absolute file addresses, as the program's pages do. "frame" builds the pages as for a window
// with its frame (white background), "noframe" as for the see-through window.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/memory_settings_store.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/linux/linux_file_system.h"
#include "common/demo_calendar.h"
#include "core/app/program_exit.h"
#include "core/page/design_loader.h"
#include "core/page/page_renderer.h"

namespace {

int Usage() {
    std::cerr << "usage: render_demo PROGRAM_FOLDER OUTPUT_FOLDER WIDTH HEIGHT frame|noframe\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace planwarte;
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
    VirtualClock clock{demo::DemoNow()};
    RecordingNotice notice;
    std::filesystem::create_directories(output_folder);
    for (const demo::DemoView& view : demo::kDemoViews) {
        MemorySettingsStore settings;
        demo::PlantDemoSettings(settings, view.view_kind);
        try {
            const TemplateSet templates = LoadDesign(DesignSources{.settings = settings,
                                                                   .files = files,
                                                                   .program_folder = program_folder,
                                                                   .progress_step = {},
                                                                   .notice = notice});
            PageContext context =
                demo::DemoPageContext(files, settings, clock, templates, window, frame == "frame");
            const std::string page = RenderCalendarPage(context, DateOf(demo::DemoNow()));
            std::ofstream(output_folder / (std::string(view.name) + ".htm"), std::ios::binary)
                << page;
        } catch (const ProgramExit&) {
            for (const std::string& message : notice.messages) {
                std::cerr << "render_demo: " << message << "\n";
            }
            return 1;
        } catch (const std::exception& error) {
            std::cerr << "render_demo: " << view.name << ": " << error.what() << "\n";
            return 1;
        }
    }
    return 0;
}
