#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "adapters/ical/due_reminders.h"
#include "ical_test_support.h"

namespace planwarte {
namespace {

using namespace ical_testing;

class RecordingEvents : public OlApplicationEvents {
  public:
    void NewMail() override { ++new_mail; }
    void Reminder(const std::shared_ptr<OlItem>& item) override {
        reminded.push_back(item->Subject());
    }
    int new_mail = 0;
    std::vector<std::string> reminded;
};

std::string Todo(const std::string& uid, const std::vector<std::string>& lines) {
    std::string text = "BEGIN:VTODO\r\nUID:" + uid + "\r\nDTSTAMP:20241201T080000Z\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text + "END:VTODO";
}

std::string Alarm(const std::string& trigger, const std::string& extra = "") {
    std::string text = "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:x\r\nTRIGGER" + trigger;
    if (!extra.empty()) {
        text += "\r\n" + extra;
    }
    return text + "\r\nEND:VALARM";
}

class DueRemindersTest : public IcalStoreTest {
  protected:
    DueRemindersTest() {
        WriteItem("privat", "zahnarzt.ics",
                  Calendar({Event("zahnarzt", {"SUMMARY:Zahnarzt", "DTSTART:20041208T140000",
                                               "DTEND:20041208T150000", Alarm(":-PT30M")})}));
        WriteItem("privat", "sport.ics",
                  Calendar({Event(
                      "sport", {"SUMMARY:Sport", "DTSTART:20041201T180000", "DTEND:20041201T190000",
                                "RRULE:FREQ=WEEKLY", Alarm(":-PT15M")})}));
        WriteItem("privat", "gesehen.ics",
                  Calendar({Event("gesehen", {"SUMMARY:Gesehen", "DTSTART:20041208T140000",
                                              "DTEND:20041208T150000",
                                              Alarm(":-PT1H", "ACKNOWLEDGED:20041208T120000Z")})}));
        WriteItem("privat", "ohne.ics",
                  Calendar({Event("ohne", {"SUMMARY:Ohne Alarm", "DTSTART:20041208T140000",
                                           "DTEND:20041208T150000"})}));
        WriteItem("aufgaben", "steuer.ics",
                  Calendar({Todo("steuer", {"SUMMARY:Steuer", "DUE:20041208T170000",
                                            Alarm(";VALUE=DATE-TIME:20041208T160000")})}));
    }

    std::vector<std::string> Due(DateTime after, DateTime until) {
        std::vector<std::string> subjects;
        for (const auto& item : DueReminders(*Session(), after, until)) {
            subjects.push_back(item->Subject());
        }
        return subjects;
    }

    ScopedTimeZone zone_;
};

TEST_F(DueRemindersTest, AlarmsOfTheSpanInTheirOrder) {
    struct Case {
        DateTime after, until;
        std::vector<std::string> due;
    };
    const Case cases[] = {
        // Folder by folder: 16:00 the task; 13:30 the dentist, 17:45 this week's occurrence
        // of the series. The alarm acknowledged at its own moment (13:00) rings no more.
        {At(2004, 12, 8, 12, 0), At(2004, 12, 8, 18, 0), {"Steuer", "Zahnarzt", "Sport"}},
        {At(2004, 12, 8, 13, 29), At(2004, 12, 8, 13, 30), {"Zahnarzt"}},
        {At(2004, 12, 8, 13, 30), At(2004, 12, 8, 15, 59), {}},  // the span's start is out
        {At(2004, 12, 15, 17, 0), At(2004, 12, 15, 18, 0), {"Sport"}},
        {At(2004, 12, 9, 0, 0), At(2004, 12, 14, 0, 0), {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Due(c.after, c.until), c.due) << c.after.value;
    }
}

TEST_F(DueRemindersTest, FactoryRaisesWhatCameDueSinceItsLastLook) {
    RecordingEvents events;
    auto application = Factory().CreateApplication();
    application->Connect();
    application->SetEvents(&events);

    Factory().RaiseDueReminders(At(2004, 12, 8, 13, 0));  // marks the moment only
    EXPECT_TRUE(events.reminded.empty());
    Factory().RaiseDueReminders(At(2004, 12, 8, 13, 31));
    Factory().RaiseDueReminders(At(2004, 12, 8, 13, 45));
    EXPECT_EQ(events.reminded, std::vector<std::string>{"Zahnarzt"});

    Factory().RaiseNewMail();
    EXPECT_EQ(events.new_mail, 1);
    application->SetEvents(nullptr);
    Factory().RaiseNewMail();
    EXPECT_EQ(events.new_mail, 1);
}

}  // namespace
}  // namespace planwarte
