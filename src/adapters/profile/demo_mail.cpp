#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "adapters/profile/demo_content.h"

namespace planwarte {

namespace {

// A local date-time as the Date header writes it, with the zone offset of that moment.
std::string MailDate(DateTime local, std::time_t& seconds) {
    const CalendarDate date = DecodeDate(local);
    const TimeOfDay time = DecodeTime(local);
    std::tm parts{};
    parts.tm_year = date.year - 1900;
    parts.tm_mon = date.month - 1;
    parts.tm_mday = date.day;
    parts.tm_hour = time.hour;
    parts.tm_min = time.minute;
    parts.tm_sec = time.second;
    parts.tm_isdst = -1;
    seconds = std::mktime(&parts);
    std::tm resolved{};
    localtime_r(&seconds, &resolved);
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const long offset_minutes = resolved.tm_gmtoff / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[resolved.tm_wday], resolved.tm_mday, kMonths[resolved.tm_mon],
                  resolved.tm_year + 1900, resolved.tm_hour, resolved.tm_min, resolved.tm_sec,
                  offset_minutes < 0 ? '-' : '+', std::labs(offset_minutes) / 60,
                  std::labs(offset_minutes) % 60);
    return text;
}

struct DemoMail {
    double minutes_before_now;
    bool read;
    const char* subject;  // as written into the header
    const char* headers;  // further headers
    const char* body;
};

}  // namespace

void AddDemoMails(DateTime now, std::vector<DemoFile>& files) {
    const std::string maildir = kDemoMaildirName;
    files.push_back({maildir + "/tmp/", ""});
    const DemoMail mails[] = {
        {95, false, "Willkommen bei Planwarte", "Content-Type: text/plain; charset=UTF-8\r\n",
         "Hallo!\r\n\r\nDies ist eine Demo-Nachricht. Planwarte liest Ihnen die Betreffzeilen\r\n"
         "neuer Post vor.\r\n"},
        {50, false, "=?UTF-8?Q?Gr=C3=BC=C3=9Fe_aus_dem_Urlaub?=",
         "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: 8bit\r\n",
         "Liebe Grüße vom Strand! Das Wetter ist herrlich.\r\n"},
        {10, false, "Termin für unser Treffen",
         "Content-Type: text/plain; charset=UTF-8\r\n"
         "Content-Transfer-Encoding: quoted-printable\r\n",
         "Passt Ihnen Donnerstag um 11 Uhr? Ich bringe die Unterlagen f=C3=BCr das =\r\n"
         "Angebot mit.\r\n"},
        {24 * 60 + 120, true, "Ihre Bestellung ist unterwegs",
         "Content-Type: text/plain; charset=UTF-8\r\n",
         "Ihre Bestellung wurde heute verschickt.\r\n"},
    };
    const DateTime today = DateOf(now);
    int number = 0;
    for (const DemoMail& mail : mails) {
        ++number;
        DateTime received(now.value - mail.minutes_before_now / (24 * 60));
        // Unread demo mail arrived today, even shortly after midnight.
        if (!mail.read && received < today) {
            received = DateTime(today.value + number / (24.0 * 60));
        }
        std::time_t seconds = 0;
        const std::string date = MailDate(received, seconds);
        const std::string unique =
            std::to_string(seconds) + ".planwarte-demo-" + std::to_string(number);
        const std::string path =
            maildir + (mail.read ? "/cur/" + unique + ":2,S" : "/new/" + unique);
        std::string text = "Date: " + date +
                           "\r\nFrom: Planwarte-Demo <demo@planwarte.invalid>\r\n" +
                           "To: Sie <sie@planwarte.invalid>\r\nSubject: " + mail.subject +
                           "\r\nMessage-ID: <" + unique + "@planwarte.invalid>\r\n" +
                           "MIME-Version: 1.0\r\n" + mail.headers + "\r\n" + mail.body;
        files.push_back({path, std::move(text)});
    }
    // A client finds the three folders, also when one is empty.
    files.push_back({maildir + "/cur/", ""});
    files.push_back({maildir + "/new/", ""});
}

}  // namespace planwarte
