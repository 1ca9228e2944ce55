#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adapters/ical/ical_sources.h"
#include "common/temp_folder.h"
#include "core/common/date_time.h"

namespace planwarte::ical_testing {

// The local zone for one test (Berlin unless told), restored afterwards.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone = "Europe/Berlin") {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
        if (old_) {
            ::setenv("TZ", old_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

  private:
    std::optional<std::string> old_;
};

inline std::string FixturePath(const std::string& name) {
    return (std::filesystem::path(__FILE__).parent_path() / "fixtures" / name).string();
}

inline std::string ReadFixture(const std::string& name) {
    std::ifstream in(FixturePath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

// A VCALENDAR around the given components, lines joined with CRLF as servers write them.
inline std::string Calendar(const std::vector<std::string>& lines) {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//ical tests//EN\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

inline std::string Event(const std::string& uid, const std::vector<std::string>& lines) {
    std::string text = "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20241201T080000Z\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text + "END:VEVENT";
}

inline DateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDateTime(year, month, day, hour, minute);
}

// A store root in a temporary folder, with a factory, a connected session and a trace log.
class IcalStoreTest : public ::testing::Test {
  protected:
    std::string CollectionPath(const std::string& collection) const { return root_ / collection; }

    void WriteItem(const std::string& collection, const std::string& file,
                   const std::string& content) {
        WriteFile(root_ / (collection + "/" + file), content);
    }

    IcalApplicationFactory& Factory() {
        if (!factory_) {
            IcalSources sources;
            sources.store_roots = {root_.Path()};
            sources.default_calendar = default_calendar_;
            sources.make_inbox = make_inbox_;
            sources.trace = [this](const std::string& line) { traces_.push_back(line); };
            sources.open_path = [this](const std::string& path) { opened_.push_back(path); };
            factory_ = std::make_unique<IcalApplicationFactory>(sources);
        }
        return *factory_;
    }

    std::shared_ptr<OlNamespace> Session() {
        if (!namespace_) {
            application_ = Factory().CreateApplication();
            application_->Connect();
            namespace_ = application_->GetNamespace("MAPI");
            namespace_->Logon("", "", "", "");
        }
        return namespace_;
    }

    // The collection folder of that folder name (or display name) in the store.
    std::shared_ptr<OlFolder> Collection(const std::string& name) {
        auto folders = Session()->Folders()->Item(1)->Folders();
        for (int i = 1; i <= folders->Count(); ++i) {
            auto folder = folders->Item(i);
            if (folder->Name() == name || Path(folder) == name) {
                return folder;
            }
        }
        ADD_FAILURE() << "no collection " << name;
        return nullptr;
    }

    std::string Path(const std::shared_ptr<OlFolder>& folder) {
        opened_.clear();
        folder->Display();
        return opened_.empty() ? std::string()
                               : std::filesystem::path(opened_.back()).filename().string();
    }

    static std::vector<std::string> FindAll(OlItems& items, const std::string& filter) {
        std::vector<std::string> found;
        for (auto item = items.Find(filter); item; item = items.FindNext()) {
            found.push_back(item->Subject());
        }
        return found;
    }

    static std::string DayFilter(const std::string& day) {
        return "([Start] >= '#" + day + " 0:00#' AND [Start] <= '#" + day + " 23:59#') OR " +
               "([Start] <= '#" + day + " 0:00#' AND [End] > '#" + day + " 0:00#')";
    }

    // The appointments of a day as the page asks for them, by subject.
    std::vector<std::string> DayOf(const std::string& collection, const std::string& day) {
        auto items = Collection(collection)->Items();
        items->Sort("[Start]", false);
        items->SetIncludeRecurrences(true);
        return FindAll(*items, DayFilter(day));
    }

    bool Traced(const std::string& part) const {
        for (const std::string& line : traces_) {
            if (line.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    ScopedTimeZone zone_;
    testing_support::TempFolder root_;
    std::string default_calendar_;
    std::function<std::shared_ptr<OlFolder>()> make_inbox_;
    std::vector<std::string> traces_;
    std::vector<std::string> opened_;
    std::unique_ptr<IcalApplicationFactory> factory_;
    std::shared_ptr<OlApplication> application_;
    std::shared_ptr<OlNamespace> namespace_;
};

}  // namespace planwarte::ical_testing
