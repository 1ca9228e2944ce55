#include "adapters/profile/tool_configs.h"

#include <gtest/gtest.h>

#include "profile/profile_test_support.h"

namespace planwarte {
namespace {

using testing_support::ProfileHome;
using Paths = std::vector<std::string>;

TEST(ToolConfigs, ReadsKhalCalendarsDiscoveryAndDefault) {
    ProfileHome home;
    const std::string work = home.Folder("kalender/arbeit");
    const std::string privat = home.Folder("kalender/privat");
    const std::string single = home.Folder("einzeln");
    home.Folder("kontakte");
    const std::string config = R"(
[calendars]
  [[alle]]
    path = ~/kalender/*
    type = discover
  # [[alt]] path = ~/alt
  [[einzeln]]
    path = "~/einzeln/"
  [[doppelt]]
    path = ~/kalender/privat
  [[geburtstage]]
    path = ~/kontakte
    type = birthdays
  [[fehlt]]
    path = ~/gibt-es-nicht
[default]
default_calendar = privat
[locale]
timeformat = %H:%M
)";
    const ToolCalendars found = ReadKhalConfig(config, home.Environment().home, home.Trace());
    EXPECT_EQ(found.collections, (Paths{work, privat, single + "/"}));
    EXPECT_EQ(found.default_calendar, privat);
    ASSERT_EQ(home.TraceLines().size(), 1u);
    EXPECT_NE(home.TraceLines()[0].find("~/gibt-es-nicht"), std::string::npos);
}

TEST(ToolConfigs, ReadsKhalDefaultByCalendarName) {
    ProfileHome home;
    const std::string folder = home.Folder("cal/x");
    const ToolCalendars found = ReadKhalConfig(
        "[calendars]\n[[Mein Kalender]]\npath = ~/cal/x\n[default]\ndefault_calendar = Mein "
        "Kalender\n",
        home.Environment().home, home.Trace());
    EXPECT_EQ(found.default_calendar, folder);
}

TEST(ToolConfigs, ReadsTodomanPaths) {
    ProfileHome home;
    const std::string one = home.Folder("todo/eins");
    const std::string two = home.Folder("todo/zwei");
    home.Write("todo/datei", "keine Liste");
    const ToolCalendars found = ReadTodomanConfig(
        "# comment\npath = \"~/todo/*\"\ndate_format = \"%Y-%m-%d\"\n#path = '~/alt'\n",
        home.Environment().home, home.Trace());
    EXPECT_EQ(found.collections, (Paths{one, two}));
}

TEST(ToolConfigs, ReadsVdirsyncerFilesystemCalendarStores) {
    ProfileHome home;
    const std::string calendars = home.Folder("calendars");
    home.Folder("contacts");
    const ToolCalendars found = ReadVdirsyncerConfig(R"(
[general]
status_path = "~/.vdirsyncer/status/"

[storage kalender_lokal]
type = "filesystem"
path = "~/calendars/"
fileext = ".ics"

[storage kontakte_lokal]
type = "filesystem"
path = "~/contacts/"
fileext = ".vcf"

[storage kalender_fern]
type = "caldav"
url = "https://example.invalid/"
)",
                                                     home.Environment().home, home.Trace());
    EXPECT_EQ(found.collections, (Paths{calendars + "/"}));
}

}  // namespace
}  // namespace planwarte
