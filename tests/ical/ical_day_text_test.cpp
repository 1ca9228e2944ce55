// The core's day texts over calendar files: what a person sees for a day.
#include <gtest/gtest.h>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "adapters/ical/ical_safe_item_library.h"
#include "core/outlook/used_folders.h"
#include "core/page/day_text.h"
#include "core/page/day_text_sources.h"
#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::At;
using ical_testing::Calendar;
using ical_testing::Event;
using ical_testing::IcalStoreTest;
using ical_testing::ReadFixture;

FolderStyle PlainStyle() {
    FolderStyle style;
    style.show_clock = true;
    style.font = "Arial";
    style.use_ol_font_color = false;
    style.font_size = 10;
    style.holiday_in_use = false;
    style.font_color = 0;
    style.font_color_html = "#000000";
    style.font_color_text = "0";
    return style;
}

class IcalDayTextTest : public IcalStoreTest {
  protected:
    void Use(UsedFolderList& list, const std::shared_ptr<OlFolder>& folder) {
        list.push_back(UsedFolderLine{.name = folder->EntryID(),
                                      .object = std::make_unique<TMAPIFolderObject>(
                                          TMAPIFolderObject{.folder = folder,
                                                            .entry_id = folder->EntryID(),
                                                            .store_id = folder->StoreID(),
                                                            .style = PlainStyle()})});
    }

    std::string Text(DateTime day) {
        const DayTextSources sources{
            .calendars = calendars_,
            .tasks = tasks_,
            .safe_items = safe_items_,
            .safe_item_messages = messages_,
            .notice = notice_,
            .clock = clock_,
            .loop = loop_,
            .template_folder = "/opt/planwarte/vorlagen/",
            .trace = [this](const std::string& text) { page_traces_.push_back(text); },
            .progress_step = [](const std::string&) {},
            .ensure_session = [] {},
        };
        return DayText(sources, day);
    }

    UsedFolderList calendars_;
    UsedFolderList tasks_;
    IcalSafeItemLibrary safe_items_;
    SafeItemMessageFlags messages_;
    RecordingNotice notice_;
    VirtualClock clock_{At(2004, 12, 8, 9)};
    VirtualEventLoop loop_{clock_};
    std::vector<std::string> page_traces_;
};

TEST_F(IcalDayTextTest, TheDaysAppointmentsAndTasksFromTheFiles) {
    WriteItem("chor", "serie.ics", ReadFixture("khal_weekly_series.ics"));
    WriteItem("privat", "zahnarzt.ics", ReadFixture("thunderbird_event.ics"));
    WriteItem("aufgaben", "reifen.ics", ReadFixture("todoman_task.ics"));
    Use(calendars_, Collection("chor"));
    Use(calendars_, Collection("privat"));
    Use(tasks_, Collection("aufgaben"));

    const std::string wednesday = Text(At(2004, 12, 8));
    EXPECT_NE(wednesday.find("Zahnarzt, Kontrolle"), std::string::npos) << wednesday;
    EXPECT_NE(wednesday.find("Chorprobe"), std::string::npos) << wednesday;
    EXPECT_NE(wednesday.find("19:30"), std::string::npos) << wednesday;
    EXPECT_NE(wednesday.find("Noten mitbringen"), std::string::npos) << "the series' body";
    EXPECT_EQ(wednesday.find("Reifen wechseln"), std::string::npos) << "due tomorrow";

    const std::string thursday = Text(At(2004, 12, 9));
    EXPECT_NE(thursday.find("Reifen wechseln"), std::string::npos) << thursday;
    EXPECT_EQ(thursday.find("Chorprobe"), std::string::npos) << thursday;

    EXPECT_EQ(Text(At(2004, 12, 22)).find("Chorprobe"), std::string::npos) << "excluded";
    EXPECT_TRUE(page_traces_.empty()) << page_traces_.front();
    EXPECT_TRUE(notice_.messages.empty());
}

}  // namespace
}  // namespace planwarte
