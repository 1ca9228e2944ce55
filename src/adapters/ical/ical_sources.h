#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/outlook/object_model.h"

// The calendar object model over iCalendar collections on disk: folders of .ics files as
// vdirsyncer, khal and todoman write them, and as the Radicale server keeps them.
namespace planwarte {

struct IcalSources {
    // Each: a folder of collections (one folder per collection, one .ics file per item), or
    // itself one collection.
    std::vector<std::string> store_roots;
    // Those of the store roots that are one collection each, also while they hold no entry.
    std::vector<std::string> collection_roots;
    // Collections that are task lists also while they hold no task yet.
    std::vector<std::string> task_list_roots;
    // Path of the collection GetDefaultFolder(9) answers; empty: the first calendar.
    std::string default_calendar;
    // The inbox GetDefaultFolder(6) answers; null: an empty inbox folder.
    std::function<std::shared_ptr<OlFolder>()> make_inbox;
    // Trace lines (skipped files with their paths, unknown time zones); may be empty.
    std::function<void(const std::string&)> trace;
    // Opens an item's file or a collection's folder for Display(); empty: nothing happens.
    std::function<void(const std::string& path)> open_path;
};

class IcalApplicationEvents;
class IcalCatalog;

// Every application it makes works on the same catalog: the collections are read once, at
// the first Connect or Refresh, and kept; the items are thread-safe to read.
class IcalApplicationFactory : public OlApplicationFactory {
  public:
    explicit IcalApplicationFactory(IcalSources sources);
    ~IcalApplicationFactory() override;

    std::shared_ptr<OlApplication> CreateApplication() override;

    // Reads again what changed on disk: new, changed and removed files and collections.
    // Fires ItemAdd, ItemChange and ItemRemove on the sinks advised on the changed folders'
    // Items, on the calling thread (the main thread). Call it when a watcher reports a change.
    void Refresh();
    // The folders a watcher should watch: every store root and every collection folder.
    std::vector<std::string> WatchedPaths() const;
    // Tells every application's event sink that mail arrived (the inbox saw new files).
    void RaiseNewMail();
    // Raises the reminder event for every alarm that came due since the last call, in the
    // order of their reminder times within each folder. The first call only marks the moment:
    // alarms that passed while the program was not running are not raised.
    void RaiseDueReminders(DateTime now);

  private:
    std::shared_ptr<IcalCatalog> catalog_;
    std::shared_ptr<IcalApplicationEvents> events_;
    std::optional<DateTime> last_reminder_check_;
};

}  // namespace planwarte
