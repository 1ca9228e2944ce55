#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "common/calendar_source_contract.h"
#include "core/common/format_date_time.h"
#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::Calendar;
using ical_testing::Event;
using testing_support::SourceAppointment;
using testing_support::SourceTask;

// Each item in a file of its own, named in the order the items are given.
class IcalCalendarSourceTest : public ical_testing::IcalStoreTest,
                               public testing_support::CalendarSourceUnderTest {
  protected:
    std::shared_ptr<OlItems> CalendarItems(const std::vector<SourceAppointment>& items) override {
        for (const SourceAppointment& item : items) {
            WriteAppointment(item);
        }
        return Collection("kalender")->Items();
    }

    std::shared_ptr<OlItems> TaskItems(const std::vector<SourceTask>& items) override {
        for (const SourceTask& item : items) {
            std::vector<std::string> lines = {"BEGIN:VTODO", "UID:" + Uid(),
                                              "SUMMARY:" + item.subject};
            if (item.due) {
                lines.push_back("DUE;VALUE=DATE:" + FormatDateTime("yyyymmdd", *item.due));
            }
            if (item.complete) {
                lines.push_back("STATUS:COMPLETED");
            }
            lines.push_back("END:VTODO");
            WriteItem("aufgaben", FileOf(lines[1]), Calendar(lines));
        }
        return Collection("aufgaben")->Items();
    }

    void AddAppointment(const SourceAppointment& item) override {
        WriteAppointment(item);
        Factory().Refresh();
    }

    void Rename(const std::string& subject, const std::string& new_subject) override {
        SourceAppointment item = written_.at(subject);
        const std::string uid = uids_.at(subject);
        item.subject = new_subject;
        WriteItem("kalender", FileOf("UID:" + uid), Calendar({EventText(uid, item)}));
        written_[new_subject] = item;
        uids_[new_subject] = uid;
        Factory().Refresh();
    }

    void Remove(const std::string& subject) override {
        std::filesystem::remove(CollectionPath("kalender") + "/" +
                                FileOf("UID:" + uids_.at(subject)));
        Factory().Refresh();
    }

  private:
    static std::string Stamp(DateTime value) { return FormatDateTime("yyyymmdd'T'hhnnss", value); }

    // "u01", "u02", ...: the file names sort in the order the items were written.
    std::string Uid() {
        ++files_;
        return std::string("u") + (files_ < 10 ? "0" : "") + std::to_string(files_);
    }
    static std::string FileOf(const std::string& uid_line) { return uid_line.substr(4) + ".ics"; }

    static std::string EventText(const std::string& uid, const SourceAppointment& item) {
        std::vector<std::string> lines = {"SUMMARY:" + item.subject};
        if (item.all_day) {
            lines.push_back("DTSTART;VALUE=DATE:" + FormatDateTime("yyyymmdd", item.start));
            lines.push_back("DTEND;VALUE=DATE:" + FormatDateTime("yyyymmdd", item.end));
        } else {
            lines.push_back("DTSTART:" + Stamp(item.start));
            lines.push_back("DTEND:" + Stamp(item.end));
        }
        if (item.weekly_count > 0) {
            lines.push_back("RRULE:FREQ=WEEKLY;COUNT=" + std::to_string(item.weekly_count));
        }
        return Event(uid, lines);
    }

    void WriteAppointment(const SourceAppointment& item) {
        const std::string uid = Uid();
        WriteItem("kalender", FileOf("UID:" + uid), Calendar({EventText(uid, item)}));
        written_[item.subject] = item;
        uids_[item.subject] = uid;
    }

    int files_ = 0;
    std::map<std::string, SourceAppointment> written_;
    std::map<std::string, std::string> uids_;
};

TEST_F(IcalCalendarSourceTest, FindFindNextAndSort) {
    testing_support::CheckFindAndSort(*this);
}
TEST_F(IcalCalendarSourceTest, SeriesWithAndWithoutRecurrences) {
    testing_support::CheckRecurrences(*this);
}
TEST_F(IcalCalendarSourceTest, FiltersThatCannotBeEvaluated) {
    testing_support::CheckFaultyFilters(*this);
}
TEST_F(IcalCalendarSourceTest, TasksByDueDateAndCompletion) {
    testing_support::CheckTasks(*this);
}
TEST_F(IcalCalendarSourceTest, ItemEventsReachTheAdvisedSinks) {
    testing_support::CheckEvents(*this);
}

}  // namespace
}  // namespace planwarte
