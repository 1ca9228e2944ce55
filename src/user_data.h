#pragma once

#include <memory>
#include <string>
#include <vector>

#include "adapters/ical/ical_safe_item_library.h"
#include "adapters/ical/ical_sources.h"
#include "adapters/linux/directory_watcher.h"
#include "adapters/profile/data_profile.h"
#include "adapters/profile/profile_shell_launcher.h"
#include "core/app/clock.h"
#include "core/app/event_loop.h"
#include "core/common/date_time.h"

// The user's own calendars, task lists and mail as the program's calendar source: found
// through the profile, read from their collections and the Maildir, watched for changes, and
// opened with the user's own programs.
namespace planwarte {

class MaildirInbox;
class TraceLog;

class UserData {
  public:
    UserData(const ProfileOptions& options, DateTime today, TraceLog& trace);
    ~UserData();

    UserData(const UserData&) = delete;
    UserData& operator=(const UserData&) = delete;

    const DataProfile& Profile() const { return profile_; }
    IcalApplicationFactory& Calendars() { return *calendars_; }
    IcalSafeItemLibrary& SafeItems() { return safe_items_; }
    ProfileShellLauncher& Launcher() { return *launcher_; }

    // Watches the collections and the Maildir; every change is read again on the loop's
    // thread, where the item events reach the page's change detection. The alarms of the
    // calendar files are looked at every few seconds and raised as reminders.
    void StartWatching(EventLoop& loop, const Clock& clock);

  private:
    // Where the new-item commands' "%f" points: the default calendar, else the first store.
    std::string DefaultFolder() const;
    std::vector<std::string> PathsToWatch() const;
    void WatchPaths(const std::vector<std::string>& paths);
    // On the main thread: reads what changed and follows new or removed collections.
    void ReadChanges();

    TraceLog& trace_;
    DataProfile profile_;
    std::shared_ptr<MaildirInbox> inbox_;
    std::unique_ptr<IcalApplicationFactory> calendars_;
    IcalSafeItemLibrary safe_items_;
    std::unique_ptr<ProfileShellLauncher> launcher_;
    EventLoop* loop_ = nullptr;
    std::unique_ptr<DirectoryWatcher> watcher_;
    std::unique_ptr<Timer> reminder_timer_;
    std::vector<std::string> watched_;
};

}  // namespace planwarte
