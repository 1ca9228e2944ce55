
#include "adapters/profile/demo_content.h"
#include "adapters/profile/ics_text.h"

namespace planwarte {

namespace {

DateTime Plus(DateTime day, double days) {
    return DateTime(day.value + days);
}

DateTime At(DateTime day, int hour, int minute) {
    return DateTime(day.value + EncodeTime(hour, minute).value);
}

struct DemoAppointment {
    DateTime day;
    int start_hour = -1;  // -1: an all-day event
    int start_minute = 0;
    int end_hour = 0;
    int end_minute = 0;
    int all_days = 1;  // length of an all-day event
    std::string summary;
    std::vector<std::string> extra;  // further content lines
};

std::vector<std::string> EventLines(const DemoAppointment& a, const std::string& uid,
                                    DateTime today) {
    std::vector<std::string> lines = {"BEGIN:VEVENT", "UID:" + uid, "DTSTAMP:" + DemoStamp(today)};
    if (a.start_hour < 0) {
        lines.push_back("DTSTART;VALUE=DATE:" + IcsDate(a.day));
        lines.push_back("DTEND;VALUE=DATE:" + IcsDate(Plus(a.day, a.all_days)));
    } else {
        lines.push_back("DTSTART:" + IcsLocalDateTime(At(a.day, a.start_hour, a.start_minute)));
        lines.push_back("DTEND:" + IcsLocalDateTime(At(a.day, a.end_hour, a.end_minute)));
    }
    lines.push_back("SUMMARY:" + IcsEscapeText(a.summary));
    lines.insert(lines.end(), a.extra.begin(), a.extra.end());
    lines.push_back("END:VEVENT");
    return lines;
}

}  // namespace

std::string DemoStamp(DateTime today) {
    return IcsDate(today) + "T000000Z";
}

void AddDemoCollection(const std::string& name, const std::string& color,
                       std::vector<DemoFile>& files) {
    const std::string folder = std::string(kDemoCollectionsFolder) + "/" + name + "/";
    files.push_back({folder + "displayname", name});
    files.push_back({folder + "color", color});
}

void AddDemoItem(const std::string& collection, const std::string& uid,
                 const std::vector<std::string>& component, std::vector<DemoFile>& files) {
    std::vector<std::string> lines = {"BEGIN:VCALENDAR", "VERSION:2.0",
                                      "PRODID:-//Planwarte//Demo//DE"};
    lines.insert(lines.end(), component.begin(), component.end());
    lines.push_back("END:VCALENDAR");
    files.push_back({std::string(kDemoCollectionsFolder) + "/" + collection + "/" + uid + ".ics",
                     IcsLines(lines)});
}

DateTime EasterSunday(int year) {
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return EncodeDate(year, month, day);
}

void AddDemoAppointments(DateTime today, std::vector<DemoFile>& files) {
    AddDemoCollection(kDemoCalendarName, "#3A7BD5", files);
    // Days count from the Monday of today's week.
    const int weekday = DayOfWeek(today);  // 1 Sunday .. 7 Saturday
    const DateTime monday = Plus(today, -((weekday + 5) % 7));
    const auto day = [&](int offset) { return Plus(monday, offset); };
    const std::vector<DemoAppointment> appointments = {
        {day(0),
         9,
         0,
         9,
         30,
         1,
         "Team-Besprechung",
         {"RRULE:FREQ=WEEKLY;BYDAY=MO", "LOCATION:Besprechungsraum 2"}},
        {day(1),
         10,
         0,
         11,
         30,
         1,
         "Projektplanung",
         {"COLOR:darkorange", "LOCATION:Büro", "CATEGORIES:Arbeit"}},
        {day(2), -1, 0, 0, 0, 1, "Homeoffice", {"TRANSP:TRANSPARENT"}},
        {today,
         12,
         30,
         13,
         30,
         1,
         "Mittagessen mit Anna",
         {"LOCATION:" + IcsEscapeText("Café am Markt, Marktplatz 3"),
          "DESCRIPTION:" + IcsEscapeText("Tisch ist reserviert.\nAnna bringt die Fotos mit.")}},
        {Plus(today, 1),
         14,
         0,
         15,
         0,
         1,
         "Zahnarzt",
         {"PRIORITY:1", "LOCATION:Praxis Dr. Winter", "BEGIN:VALARM", "ACTION:DISPLAY",
          "DESCRIPTION:Zahnarzt", "TRIGGER:-PT30M", "END:VALARM"}},
        {day(3), -1, 0, 0, 0, 2, "Fortbildung Zeitmanagement", {"LOCATION:Volkshochschule"}},
        {day(4), 19, 30, 22, 0, 1, "Konzert im Stadtpark", {"LOCATION:Stadtpark, Musikpavillon"}},
        {day(5), 10, 0, 12, 0, 1, "Flohmarkt", {}},
        {day(7), 8, 0, 8, 15, 1, "Anruf Versicherung", {"PRIORITY:9"}},
        {day(8), 16, 0, 17, 0, 1, "Elternabend", {"LOCATION:Grundschule am Park"}},
        {day(9), 18, 30, 20, 0, 1, "Sport", {"LOCATION:Turnhalle", "CATEGORIES:Freizeit"}},
        {day(10),
         11,
         0,
         12,
         0,
         1,
         "Kundentermin",
         {"LOCATION:" + IcsEscapeText("Firma Lindner, Hafenstraße 12"),
          "DESCRIPTION:" + IcsEscapeText("Angebot mitnehmen; Vertrag besprechen.")}},
        {day(11), 15, 0, 16, 0, 1, "Friseur", {}},
        {day(12), -1, 0, 0, 0, 1, "Ausflug an den See", {}},
    };
    int number = 0;
    for (const DemoAppointment& appointment : appointments) {
        const std::string uid = "planwarte-demo-termin-" + std::to_string(++number);
        AddDemoItem(kDemoCalendarName, uid, EventLines(appointment, uid, today), files);
    }
}

void AddDemoHolidays(int first_year, int last_year, DateTime today, std::vector<DemoFile>& files) {
    const std::string collection = "Demo-Feiertage";
    AddDemoCollection(collection, "#D93025", files);
    for (int year = first_year; year <= last_year; ++year) {
        const DateTime easter = EasterSunday(year);
        const struct {
            DateTime day;
            const char* name;
        } holidays[] = {
            {EncodeDate(year, 1, 1), "Neujahr"},
            {Plus(easter, -2), "Karfreitag"},
            {Plus(easter, 1), "Ostermontag"},
            {EncodeDate(year, 5, 1), "Tag der Arbeit"},
            {Plus(easter, 39), "Christi Himmelfahrt"},
            {Plus(easter, 50), "Pfingstmontag"},
            {EncodeDate(year, 10, 3), "Tag der Deutschen Einheit"},
            {EncodeDate(year, 12, 25), "1. Weihnachtstag"},
            {EncodeDate(year, 12, 26), "2. Weihnachtstag"},
        };
        for (const auto& holiday : holidays) {
            const std::string uid = "planwarte-demo-feiertag-" + IcsDate(holiday.day);
            DemoAppointment event{holiday.day,
                                  -1,
                                  0,
                                  0,
                                  0,
                                  1,
                                  holiday.name,
                                  {"CATEGORIES:Feiertag", "TRANSP:TRANSPARENT"}};
            AddDemoItem(collection, uid, EventLines(event, uid, today), files);
        }
    }
}

void AddDemoBirthdays(DateTime today, std::vector<DemoFile>& files) {
    const std::string collection = "Demo-Geburtstage";
    AddDemoCollection(collection, "#F4B400", files);
    // Ages divisible by four keep a birthday on 29 February on a leap day.
    const struct {
        int days_ahead;
        int age;
        const char* name;
    } birthdays[] = {{2, 36, "Anna Berger"}, {9, 80, "Opa Heinz"}, {20, 8, "Lena"}};
    int number = 0;
    for (const auto& birthday : birthdays) {
        const CalendarDate next = DecodeDate(Plus(today, birthday.days_ahead));
        const DateTime born = EncodeDate(next.year - birthday.age, next.month, next.day);
        const std::string uid = "planwarte-demo-geburtstag-" + std::to_string(++number);
        DemoAppointment event{born,
                              -1,
                              0,
                              0,
                              0,
                              1,
                              std::string("Geburtstag ") + birthday.name,
                              {"RRULE:FREQ=YEARLY", "CATEGORIES:Geburtstag", "TRANSP:TRANSPARENT"}};
        AddDemoItem(collection, uid, EventLines(event, uid, today), files);
    }
}

}  // namespace planwarte
