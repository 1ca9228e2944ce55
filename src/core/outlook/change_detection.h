#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/app/clock.h"
#include "core/app/event_loop.h"
#include "core/common/date_time.h"
#include "core/outlook/object_model.h"

// Rebuilding the calendar page when the user adds, changes or removes an item of a shown
// folder. Every used folder watches its Items collection; an item event only starts a
// debounce timer, so that a burst of changes (a series being edited, a synchronisation)
// costs one rebuild.
namespace planwarte {

// The event sink of one folder's Items collection. The folder object owns it; destroying it
// ends the connection. Used on the main thread only.
class CItemsEvents : public OlItemsEvents {
  public:
    // on_item_event runs for every added, changed or removed item.
    explicit CItemsEvents(std::function<void()> on_item_event);
    ~CItemsEvents() override;

    CItemsEvents(const CItemsEvents&) = delete;
    CItemsEvents& operator=(const CItemsEvents&) = delete;

    // Starts watching items. A collection that refuses the connection leaves the folder
    // without change detection, silently. Call once.
    void Connect(std::shared_ptr<OlItems> items);

    bool Connected() const { return cookie_.has_value(); }
    // The EntryID of the watched folder; empty when not connected or not readable.
    const std::string& FolderEntryId() const { return folder_entry_id_; }

    void ItemAdd(const std::shared_ptr<OlItem>& item) override;
    void ItemChange(const std::shared_ptr<OlItem>& item) override;
    void ItemRemove() override;

  private:
    void Disconnect();

    std::function<void()> on_item_event_;
    std::shared_ptr<OlItems> items_;
    std::optional<int> cookie_;
    std::string folder_entry_id_;
};

// The debounce between item events and the page rebuild. Idle until an item event; then
// pending until the timer fires, absorbing further events; then one rebuild for the present
// moment. The first run after start-up waits two minutes (Outlook's own start-up and
// synchronisation change many items), every later run three seconds.
class ChangeDetector {
  public:
    static constexpr int kFirstDelayMs = 120000;
    static constexpr int kLaterDelayMs = 3000;

    // Builds the calendar page for the given moment. The page returns to the current date
    // after every change, whatever the user had navigated to.
    using RebuildPage = std::function<void(DateTime now)>;

    ChangeDetector(EventLoop& loop, const Clock& clock, RebuildPage rebuild_page);

    ChangeDetector(const ChangeDetector&) = delete;
    ChangeDetector& operator=(const ChangeDetector&) = delete;

    // An item of a used folder was added, changed or removed.
    void ItemChanged();
    bool Pending() const;
    // Shutdown: forgets a pending rebuild. Call before the folder objects go.
    void Stop();

  private:
    void Fire();

    const Clock& clock_;
    RebuildPage rebuild_page_;
    std::unique_ptr<Timer> timer_;
};

}  // namespace planwarte
