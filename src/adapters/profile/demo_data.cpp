#include "adapters/profile/demo_data.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "adapters/profile/demo_content.h"

namespace planwarte {

namespace {

namespace fs = std::filesystem;

bool WriteFiles(const fs::path& folder, const std::vector<DemoFile>& files) {
    for (const DemoFile& file : files) {
        const fs::path path = folder / file.path;
        std::error_code error;
        if (!file.path.empty() && file.path.back() == '/') {
            fs::create_directories(path, error);
            if (error) {
                return false;
            }
            continue;
        }
        fs::create_directories(path.parent_path(), error);
        std::ofstream out(path, std::ios::binary);
        out << file.content;
        out.close();
        if (error || !out) {
            return false;
        }
    }
    return true;
}

DemoData DemoPaths(const fs::path& demo) {
    const fs::path collections = demo / kDemoCollectionsFolder;
    return {collections.string(), (collections / kDemoCalendarName).string(),
            (demo / kDemoMaildirName).string()};
}

}  // namespace

std::vector<DemoFile> DemoFiles(DateTime now) {
    const DateTime today = DateOf(now);
    const int year = DecodeDate(today).year;
    std::vector<DemoFile> files;
    AddDemoAppointments(today, files);
    AddDemoHolidays(year, year + 1, today, files);
    AddDemoBirthdays(today, files);
    AddDemoTasks(today, files);
    AddDemoMails(now, files);
    return files;
}

std::optional<DemoData> EnsureDemoData(const std::string& data_home, DateTime now,
                                       const ProfileTrace& trace) {
    const auto fail = [&](const std::string& reason) -> std::optional<DemoData> {
        if (trace) {
            trace("demo: " + reason);
        }
        return std::nullopt;
    };
    const fs::path parent = fs::path(data_home) / "planwarte";
    const fs::path demo = parent / "demo";
    std::error_code error;
    if (fs::is_directory(demo, error)) {
        return DemoPaths(demo);
    }
    fs::create_directories(parent, error);
    if (error) {
        return fail("cannot make " + parent.string() + ": " + error.message());
    }
    std::string pattern = (parent / ".demo-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return fail("cannot make a temporary folder in " + parent.string());
    }
    const fs::path temporary = pattern;
    const bool written = WriteFiles(temporary, DemoFiles(now));
    if (written) {
        fs::rename(temporary, demo, error);
    }
    if (!written || error) {
        std::error_code ignored;
        fs::remove_all(temporary, ignored);
        // Another start may have put its demo in place meanwhile.
        if (fs::is_directory(demo, ignored)) {
            return DemoPaths(demo);
        }
        return fail("cannot write " + demo.string() +
                    (error ? ": " + error.message() : std::string()));
    }
    if (trace) {
        trace("demo: generated " + demo.string());
    }
    return DemoPaths(demo);
}

}  // namespace planwarte
