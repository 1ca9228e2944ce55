#include "adapters/profile/data_profile.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "profile/profile_test_support.h"

namespace planwarte {
namespace {

using testing_support::ProfileHome;
using Paths = std::vector<std::string>;

const DateTime kNow = EncodeDateTime(2026, 12, 10, 14, 0);

DataProfile Find(ProfileHome& home, const ProfileOptions& options = {}) {
    return FindDataProfile(options, home.Environment(), kNow, home.Trace());
}

class DataProfileTest : public ::testing::Test {
  protected:
    // Every source names a calendar of its own.
    void WriteAllSources() {
        home_.Folder("data");
        home_.Folder("profil");
        khal_ = home_.Folder("khal-kalender");
        todo_ = home_.Folder("todo-listen/aufgaben");
        home_.Write(".config/planwarte/profile.ini",
                    "[data]\nstore = ~/profil\nmaildir = ~/Mail/profil\n");
        home_.Write(".config/khal/config", "[calendars]\n[[k]]\npath = ~/khal-kalender\n");
        home_.Write(".config/todoman/config.py", "path = \"~/todo-listen/*\"\n");
    }

    ProfileHome home_;
    std::string khal_;
    std::string todo_;
};

TEST_F(DataProfileTest, OptionsComeFirst) {
    WriteAllSources();
    const DataProfile profile =
        Find(home_, {{home_.Path("data"), home_.Path("data/"), "/elsewhere"}, "/mail"});
    EXPECT_EQ(profile.store_roots, (Paths{home_.Path("data"), "/elsewhere"}));
    EXPECT_EQ(profile.maildir, "/mail");
    EXPECT_EQ(profile.source, "--data");
    EXPECT_FALSE(profile.demo);
}

TEST_F(DataProfileTest, ProfileFileComesBeforeTheTools) {
    WriteAllSources();
    DataProfile profile = Find(home_);
    EXPECT_EQ(profile.store_roots, Paths{home_.Path("profil")});
    EXPECT_EQ(profile.maildir, home_.Path("Mail/profil"));
    EXPECT_EQ(profile.source, home_.Path(".config/planwarte/profile.ini"));

    // --maildir alone does not take the calendars away from the profile file.
    profile = Find(home_, {{}, "/mail"});
    EXPECT_EQ(profile.store_roots, Paths{home_.Path("profil")});
    EXPECT_EQ(profile.maildir, "/mail");
}

TEST_F(DataProfileTest, ToolsTogetherWithoutDuplicates) {
    WriteAllSources();
    std::filesystem::remove(home_.Path(".config/planwarte/profile.ini"));
    home_.Write(".config/vdirsyncer/config",
                "[storage s]\ntype = \"filesystem\"\npath = \"~/khal-kalender/\"\n"
                "fileext = \".ics\"\n");
    const DataProfile profile = Find(home_);
    EXPECT_EQ(profile.store_roots, (Paths{khal_, todo_}));
    // khal and todoman name calendars and task lists, not folders of them.
    EXPECT_EQ(profile.collection_roots, (Paths{khal_, todo_}));
    EXPECT_EQ(profile.task_list_roots, Paths{todo_});
    EXPECT_EQ(profile.source, "khal, todoman");
    EXPECT_TRUE(profile.maildir.empty());
    EXPECT_FALSE(profile.demo);
}

TEST_F(DataProfileTest, ProfileFileWithoutStoresLeavesCalendarsToTheTools) {
    WriteAllSources();
    home_.Write(".config/planwarte/profile.ini",
                "[data]\nmaildir = ~/Mail\n[commands]\nopen = khal edit %f\n");
    const DataProfile profile = Find(home_);
    EXPECT_EQ(profile.store_roots, (Paths{khal_, todo_}));
    EXPECT_EQ(profile.maildir, home_.Path("Mail"));
    EXPECT_EQ(profile.commands.open, "khal edit %f");
    EXPECT_EQ(profile.commands.calendar, "xdg-open %f");
}

TEST_F(DataProfileTest, ReadsTheProfileFile) {
    const std::string a = home_.Folder("kal/a");
    const std::string b = home_.Folder("kal/b");
    home_.Write(".config/planwarte/profile.ini", R"(; Planwarte
[data]
store = ~/kal/*
store2 = ~/kal/a
store_neu = ~/noch-nicht-da
default_calendar = ~/kal/b
[commands]
open = gnome-calendar
calendar = khal interactive
new_appointment = khal new
new_task = todo new
new_mail = thunderbird -compose
)");
    const DataProfile profile = Find(home_);
    EXPECT_EQ(profile.store_roots, (Paths{a, b, home_.Path("noch-nicht-da")}));
    EXPECT_EQ(profile.default_calendar, b);
    EXPECT_EQ(profile.commands.open, "gnome-calendar");
    EXPECT_EQ(profile.commands.calendar, "khal interactive");
    EXPECT_EQ(profile.commands.new_appointment, "khal new");
    EXPECT_EQ(profile.commands.new_task, "todo new");
    EXPECT_EQ(profile.commands.new_mail, "thunderbird -compose");
    ASSERT_EQ(home_.TraceLines().size(), 1u);  // the store that is not there yet
    EXPECT_NE(home_.TraceLines()[0].find("~/noch-nicht-da"), std::string::npos);
}

TEST_F(DataProfileTest, TracesAndSkipsAnUnreadableConfiguration) {
    const std::string todo = home_.Folder("todo/liste");
    home_.Folder(".config/khal/config");  // a folder where the file should be
    home_.Write(".config/todoman/config.py", "path = \"~/todo/*\"\n");
    const DataProfile profile = Find(home_);
    EXPECT_EQ(profile.store_roots, Paths{todo});
    ASSERT_EQ(home_.TraceLines().size(), 1u);
    EXPECT_NE(home_.TraceLines()[0].find(home_.Path(".config/khal/config")), std::string::npos);
}

TEST_F(DataProfileTest, FallsBackToTheDemo) {
    home_.Write(".config/khal/config", "[calendars]\n[[k]]\npath = ~/weg\n");
    const DataProfile profile = Find(home_);
    EXPECT_TRUE(profile.demo);
    EXPECT_EQ(profile.source, "demo");
    const std::string demo = home_.Environment().data_home + "/planwarte/demo";
    EXPECT_EQ(profile.store_roots, Paths{demo + "/Kalender"});
    EXPECT_EQ(profile.default_calendar, demo + "/Kalender/Demo-Kalender");
    EXPECT_EQ(profile.maildir, demo + "/Demo-Post");
    EXPECT_TRUE(std::filesystem::is_directory(profile.default_calendar));
    EXPECT_EQ(profile.commands.open, "xdg-open %f");
    EXPECT_EQ(profile.commands.new_mail, "xdg-open mailto:");

    EXPECT_EQ(Find(home_, {{}, "/mail"}).maildir, "/mail");
}

// Restores the variables a test sets.
class ScopedEnvironment {
  public:
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    void Set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            setenv(name.c_str(), value, 1);
        } else {
            unsetenv(name.c_str());
        }
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(ProfileEnvironment, TakesAbsoluteXdgFoldersAndElseTheHomeFolders) {
    ScopedEnvironment environment;
    environment.Set("HOME", "/home/anna");
    environment.Set("XDG_CONFIG_HOME", "/etc/anna");
    environment.Set("XDG_DATA_HOME", "relativ/daten");
    ProfileEnvironment found = ProfileEnvironment::FromProcess();
    EXPECT_EQ(found.home, "/home/anna");
    EXPECT_EQ(found.config_home, "/etc/anna");
    EXPECT_EQ(found.data_home, "/home/anna/.local/share");

    environment.Set("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(ProfileEnvironment::FromProcess().config_home, "/home/anna/.config");
}

}  // namespace
}  // namespace planwarte
