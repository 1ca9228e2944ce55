// Items written by the real khal and todoman programs, read back through their configurations
// and shown on the rendered page. Skipped when a client is not installed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

using testing_support::Slurp;
using testing_support::TempFolder;

// The full path of the first of `names` found on PATH, or nothing.
std::optional<std::string> FindOnPath(const std::vector<std::string>& names) {
    const char* path = std::getenv("PATH");
    for (const std::string& name : names) {
        std::istringstream folders(path ? path : "");
        std::string folder;
        while (std::getline(folders, folder, ':')) {
            const std::string candidate = folder + "/" + name;
            if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
    }
    return std::nullopt;
}

// The text of each day card of a week page, by its day of the month.
std::map<int, std::string> DayCards(const std::string& html) {
    static const std::regex card(R"(<div class="slot">([\s\S]*?)</div>)");
    static const std::regex number(R"(class="num"[^>]*>(\d+)<)");
    std::map<int, std::string> days;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), card);
         it != std::sregex_iterator(); ++it) {
        const std::string text = (*it)[1].str();
        std::smatch day;
        if (std::regex_search(text, day, number)) {
            days[std::stoi(day[1].str())] = text;
        }
    }
    return days;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class RealClientsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::optional<std::string> khal = FindOnPath({"khal"});
        const std::optional<std::string> todo = FindOnPath({"todo", "todoman"});
        if (!khal || !todo) {
            GTEST_SKIP() << "khal and todoman must be installed for this test (Debian packages "
                            "khal, todoman)";
        }
        khal_ = *khal;
        todo_ = *todo;
        const char* bin = std::getenv("PLANWARTE_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "PLANWARTE_BIN_DIR names the folder of the built program";
        program_ = std::string(bin) + "/planwarte";

        for (const char* folder : {"temp", "data", "cache", "config/khal", "config/todoman",
                                   "calendars/privat", "tasks/aufgaben"}) {
            std::filesystem::create_directories(folder_ / folder);
        }
        // Both configurations name their folders through the home folder and a wildcard, as
        // their own documentation suggests.
        std::ofstream(folder_ / "config/khal/config") << "[calendars]\n"
                                                         "[[meine]]\n"
                                                         "path = ~/calendars/*\n"
                                                         "type = discover\n"
                                                         "[locale]\n"
                                                         "timeformat = %H:%M\n"
                                                         "dateformat = %Y-%m-%d\n"
                                                         "longdateformat = %Y-%m-%d\n"
                                                         "datetimeformat = %Y-%m-%d %H:%M\n"
                                                         "longdatetimeformat = %Y-%m-%d %H:%M\n"
                                                         "default_timezone = Europe/Berlin\n"
                                                         "local_timezone = Europe/Berlin\n"
                                                         "[default]\n"
                                                         "default_calendar = privat\n";
        std::ofstream(folder_ / "config/todoman/config.py") << "path = \"~/tasks/*\"\n"
                                                               "date_format = \"%Y-%m-%d\"\n"
                                                               "time_format = \"%H:%M\"\n"
                                                               "default_list = \"aufgaben\"\n";
        WriteSettings({});
    }

    // Runs a program with the test's home, configuration and data folders; its standard
    // output is kept for Stdout().
    int Run(const std::string& program, const std::vector<std::string>& arguments) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("HOME", folder_.Path().c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
            ::setenv("XDG_CACHE_HOME", (folder_ / "cache").c_str(), 1);
            ::setenv("TEMP", (folder_ / "temp").c_str(), 1);
            ::setenv("PLANWARTE_SETTINGS", (folder_ / "settings.reg").c_str(), 1);
            ::setenv("TZ", "Europe/Berlin", 1);
            ::setenv("LC_ALL", "C.UTF-8", 1);
            const int out =
                ::open((folder_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err =
                ::open((folder_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            ::dup2(err, 2);
            std::vector<std::string> copies{program};
            copies.insert(copies.end(), arguments.begin(), arguments.end());
            std::vector<char*> argv;
            for (auto& argument : copies) {
                argv.push_back(argument.data());
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string Stdout() const { return Slurp(folder_ / "stdout"); }
    std::string Stderr() const { return Slurp(folder_ / "stderr"); }

    void Khal(const std::vector<std::string>& arguments) {
        ASSERT_EQ(Run(khal_, arguments), 0) << Stderr();
    }
    void Todo(const std::vector<std::string>& arguments) {
        ASSERT_EQ(Run(todo_, arguments), 0) << Stderr();
    }

    // Marks done, with todoman, the first open to-do it lists.
    void CompleteFirstListedTodo() {
        Todo({"--porcelain", "list"});
        std::smatch id;
        const std::string listing = Stdout();
        ASSERT_TRUE(std::regex_search(listing, id, std::regex(R"("id":\s*(\d+))"))) << listing;
        Todo({"done", id[1].str()});
    }

    // The week view, with the given folder lines (as --list-folders prints them) ticked.
    void WriteSettings(const std::vector<std::string>& folder_lines) {
        std::string text =
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
            "\"VORLAGE\"=dword:00000001\r\n"
            "\"UseDelay\"=dword:00000000\r\n";
        for (const std::string& line : folder_lines) {
            std::istringstream fields(line);
            std::string entry_id, store_id, item_type;
            std::getline(fields, entry_id, '\t');
            std::getline(fields, store_id, '\t');
            std::getline(fields, item_type, '\t');
            text += "\r\n[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\" +
                    std::string(item_type == "3" ? "UsedTasks" : "UsedCalendars") + "\\" +
                    entry_id + "]\r\n\"isUsed\"=dword:00000001\r\n\"SID\"=\"" + store_id + "\"\r\n";
        }
        std::ofstream(folder_ / "settings.reg", std::ios::binary) << text;
    }

    // Ticks every folder the program lists, as a user does in the settings file.
    void TickEveryListedFolder() {
        ASSERT_EQ(Run(program_, {"--list-folders"}), 0) << Stderr();
        std::vector<std::string> lines;
        std::istringstream listing(Stdout());
        for (std::string line; std::getline(listing, line);) {
            lines.push_back(line);
        }
        ASSERT_EQ(lines.size(), 2u) << "one calendar and one task list expected:\n" << Stdout();
        WriteSettings(lines);
    }

    std::map<int, std::string> RenderWeekOf(const std::string& date) {
        EXPECT_EQ(Run(program_, {"--render", "--date", date, "-o", folder_ / "page.htm"}), 0)
            << Stderr() << Slurp(folder_ / "temp/planwartedebug.log");
        page_ = Slurp(folder_ / "page.htm");
        std::erase(page_, '\r');
        return DayCards(page_);
    }

    TempFolder folder_;
    std::string khal_;
    std::string todo_;
    std::string program_;
    std::string page_;
};

TEST_F(RealClientsTest, ItemsMadeByKhalAndTodomanShowOnTheirDaysWithTheirTimes) {
    Khal({"new", "-a", "privat", "2026-12-14", "10:00", "11:30", "Zahnarzt"});
    Khal({"new", "-a", "privat", "2026-12-15", "Betriebsfeier"});
    // Until the 6th: khal ends the series at that day's midnight, so its last one is the 30th.
    Khal({"new", "-a", "privat", "-r", "weekly", "-u", "2027-01-06", "2026-12-16", "09:00", "09:30",
          "Teamrunde"});
    Todo({"new", "--list", "aufgaben", "--due", "2026-12-17", "Steuererklärung"});
    TickEveryListedFolder();

    std::map<int, std::string> days = RenderWeekOf("2026-12-16");
    ASSERT_EQ(days.size(), 7u) << page_;
    EXPECT_TRUE(Contains(days[14], "10:00 Uhr\nZahnarzt")) << days[14];
    EXPECT_TRUE(Contains(days[14], "bis: 14.12.26 11:30 Uhr")) << days[14];
    EXPECT_TRUE(Contains(days[15], "Betriebsfeier")) << days[15];
    EXPECT_FALSE(Contains(days[15], " Uhr")) << "an all-day event has no time: " << days[15];
    EXPECT_TRUE(Contains(days[16], "09:00 Uhr\nTeamrunde")) << days[16];
    EXPECT_TRUE(Contains(days[17], "Steuererklärung")) << days[17];
    for (const auto& [day, text] : days) {
        EXPECT_EQ(Contains(text, "Zahnarzt"), day == 14) << day;
        EXPECT_EQ(Contains(text, "Betriebsfeier"), day == 15) << day;
        EXPECT_EQ(Contains(text, "Teamrunde"), day == 16) << day;
    }

    days = RenderWeekOf("2026-12-30");
    EXPECT_TRUE(Contains(days[30], "09:00 Uhr\nTeamrunde")) << days[30];
    days = RenderWeekOf("2027-01-06");
    ASSERT_EQ(days.size(), 7u) << page_;
    EXPECT_FALSE(Contains(page_, "Teamrunde")) << "the series ended before the 6th";
}

TEST_F(RealClientsTest, TaskMarkedDoneWithTodomanIsGoneFromTheNextPage) {
    Khal({"new", "-a", "privat", "2026-12-14", "10:00", "11:30", "Zahnarzt"});
    Todo({"new", "--list", "aufgaben", "--due", "2026-12-17 14:30", "Abgabe Bericht"});
    TickEveryListedFolder();
    std::map<int, std::string> days = RenderWeekOf("2026-12-16");
    ASSERT_TRUE(Contains(days[17], "Abgabe Bericht")) << page_;

    CompleteFirstListedTodo();

    RenderWeekOf("2026-12-16");
    EXPECT_FALSE(Contains(page_, "Abgabe Bericht")) << page_;
}

// todoman cannot make a repeating to-do, but completes one another client made: it marks the
// done one completed without its rule and writes the next occurrence as a new to-do.
TEST_F(RealClientsTest, RepeatingTaskCompletedWithTodomanShowsItsNextOccurrence) {
    std::ofstream(folder_ / "tasks/aufgaben/blumen.ics", std::ios::binary)
        << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VTODO\r\n"
           "UID:blumen-giessen\r\nDTSTAMP:20261201T080000Z\r\nSUMMARY:Blumen giessen\r\n"
           "DTSTART;TZID=Europe/Berlin:20261214T090000\r\n"
           "DUE;TZID=Europe/Berlin:20261214T180000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n"
           "STATUS:NEEDS-ACTION\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
    TickEveryListedFolder();
    std::map<int, std::string> days = RenderWeekOf("2026-12-16");
    ASSERT_TRUE(Contains(days[14], "Blumen giessen")) << page_;

    CompleteFirstListedTodo();

    days = RenderWeekOf("2026-12-16");
    EXPECT_FALSE(Contains(days[14], "Blumen giessen")) << "the done occurrence is gone: " << page_;
    // The list of all open tasks shows the series at its next occurrence.
    EXPECT_TRUE(Contains(page_, "21.12.2026 18:00:00")) << page_;
    days = RenderWeekOf("2026-12-23");
    EXPECT_TRUE(Contains(days[21], "Blumen giessen")) << page_;
    for (const auto& [day, text] : days) {
        EXPECT_EQ(Contains(text, "Blumen giessen"), day == 21) << day;
    }
}

}  // namespace
}  // namespace planwarte
