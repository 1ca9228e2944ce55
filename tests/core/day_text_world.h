#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/fake_safe_item_library.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "core/common/date_time.h"
#include "core/outlook/item_access.h"
#include "core/outlook/used_folders.h"
#include "core/page/day_text.h"
#include "core/page/day_text_sources.h"

// A calendar source with used calendars and task folders, and everything the day texts are
// written from, at a chosen current moment (by default Wednesday, 8 December 2004, 9:00).
namespace planwarte::testing_support {

inline constexpr const char* kDayTextTemplateFolder = "/opt/planwarte/vorlagen/";

inline DateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDateTime(year, month, day, hour, minute);
}

// Arial 10 pt in black, list form, holidays not shown in red.
inline FolderStyle PlainStyle() {
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

// The text split at its CR LF line ends; a text whose last line lacks its end shows as an
// extra line "<unterminated>...".
inline std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find("\r\n", begin);
        if (end == std::string::npos) {
            lines.push_back("<unterminated>" + text.substr(begin));
            break;
        }
        lines.push_back(text.substr(begin, end - begin));
        begin = end + 2;
    }
    return lines;
}

struct DayTextWorld {
    explicit DayTextWorld(DateTime now = At(2004, 12, 8, 9, 0)) : clock(now), loop(clock) {}

    std::shared_ptr<FakeFolder> AddCalendar(const std::string& name,
                                            const FolderStyle& style = PlainStyle()) {
        auto folder = outlook->AddCalendar(name);
        calendars.push_back(UsedLine(folder, style));
        return folder;
    }
    std::shared_ptr<FakeFolder> AddTaskFolder(const std::string& name,
                                              const FolderStyle& style = PlainStyle()) {
        auto folder = outlook->AddTaskFolder(name);
        tasks.push_back(UsedLine(folder, style));
        return folder;
    }
    static UsedFolderLine UsedLine(const std::shared_ptr<FakeFolder>& folder,
                                   const FolderStyle& style) {
        const std::string name = folder ? folder->EntryID() : "lost";
        return UsedFolderLine{
            .name = name,
            .object = std::make_unique<TMAPIFolderObject>(TMAPIFolderObject{
                .folder = folder, .entry_id = name, .store_id = "", .style = style})};
    }

    DayTextSources Sources() {
        return DayTextSources{
            .calendars = calendars,
            .tasks = tasks,
            .safe_items = safe_items,
            .safe_item_messages = safe_item_messages,
            .notice = notice,
            .clock = clock,
            .loop = loop,
            .template_folder = kDayTextTemplateFolder,
            .english_edition = english_edition,
            .pause_between_tasks_ms = pause_between_tasks_ms,
            .first_page_build = first_page_build,
            .trace = [this](const std::string& text) { traces.push_back(text); },
            .progress_step = [this](const std::string& text) { progress.push_back(text); },
            .ensure_session = [this] { ++session_checks; },
            .announce_appointment =
                [this](const std::string& time_text, const std::string& subject) {
                    announced.emplace_back(time_text, subject);
                },
        };
    }

    std::vector<std::string> DayLines(DateTime day) { return SplitCrLf(DayText(Sources(), day)); }
    std::vector<std::string> AllTaskLines() { return SplitCrLf(AllOpenTasksText(Sources())); }

    std::shared_ptr<FakeOutlook> outlook = FakeOutlook::Create();
    FakeSafeItemLibrary safe_items;
    SafeItemMessageFlags safe_item_messages;
    RecordingNotice notice;
    VirtualClock clock;
    VirtualEventLoop loop;
    UsedFolderList calendars;
    UsedFolderList tasks;
    bool english_edition = false;
    int pause_between_tasks_ms = 2;
    bool first_page_build = false;
    std::vector<std::string> traces;
    std::vector<std::string> progress;
    std::vector<std::pair<std::string, std::string>> announced;
    int session_checks = 0;
};

// The lines of the only entry of a day with one calendar and no task folder: the day's lines
// without the two line breaks that open the appointments and the tasks, and without the
// opening line, which comes first.
struct OneEntry {
    std::string opening;
    std::vector<std::string> rest;
};

inline OneEntry OnlyEntry(const std::vector<std::string>& day_lines) {
    if (day_lines.size() < 3 || day_lines.front() != "<br>" || day_lines.back() != "<br>") {
        std::ostringstream all;
        for (const auto& line : day_lines) {
            all << line << "|";
        }
        return {"<not one entry: " + all.str() + ">", {}};
    }
    return {day_lines[1], std::vector<std::string>(day_lines.begin() + 2, day_lines.end() - 1)};
}

}  // namespace planwarte::testing_support
