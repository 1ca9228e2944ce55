#pragma once

#include <functional>
#include <string>

#include "core/outlook/item_access.h"
#include "core/outlook/used_folders.h"

namespace planwarte {

class Clock;
class EventLoop;
class SafeItemLibrary;
class UserNotice;

// What the appointment and task lines of a day are written from: the used folders, the
// services the item lines reach, and the main window's hooks.
struct DayTextSources {
    const UsedFolderList& calendars;
    const UsedFolderList& tasks;
    SafeItemLibrary& safe_items;
    // The page build's turn of the "library missing" message, kept for the whole process.
    SafeItemMessageFlags& safe_item_messages;
    UserNotice& notice;
    const Clock& clock;
    EventLoop& loop;
    // Where the importance pictures lie; ends with "/".
    std::string template_folder{};
    bool english_edition = false;
    // The calendar source's rest before each task.
    int pause_between_tasks_ms = 0;
    // Only the first page build since start-up announces today's appointments.
    bool first_page_build = false;
    std::function<void(const std::string&)> trace{};
    // Shows a start-up step on the splash window.
    std::function<void(const std::string&)> progress_step{};
    // Checks the calendar session; run for a used folder that has no folder reference.
    std::function<void()> ensure_session{};
    // Speaks an appointment of today and lists it in the tray tip; unset, nothing is spoken.
    std::function<void(const std::string& time_text, const std::string& subject)>
        announce_appointment{};
};

}  // namespace planwarte
