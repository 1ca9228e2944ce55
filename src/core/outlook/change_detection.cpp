#include "core/outlook/change_detection.h"

#include <utility>

namespace planwarte {

CItemsEvents::CItemsEvents(std::function<void()> on_item_event)
    : on_item_event_(std::move(on_item_event)) {}

CItemsEvents::~CItemsEvents() {
    Disconnect();
}

void CItemsEvents::Connect(std::shared_ptr<OlItems> items) {
    if (!items || Connected()) {
        return;
    }
    try {
        cookie_ = items->Advise(this);
    } catch (const OutlookError&) {
        return;
    }
    items_ = std::move(items);
    // The EntryID only names the watched folder; a folder that cannot tell it is watched all
    // the same.
    try {
        if (const std::shared_ptr<OlFolder> folder = items_->Parent()) {
            folder_entry_id_ = folder->EntryID();
        }
    } catch (const OutlookError&) {
        folder_entry_id_.clear();
    }
}

void CItemsEvents::Disconnect() {
    if (cookie_) {
        // Runs while the folder object is destroyed, possibly after Outlook has gone; a
        // refused Unadvise must not stop the shutdown.
        try {
            items_->Unadvise(*cookie_);
        } catch (const OutlookError&) {
        }
        cookie_.reset();
    }
    items_.reset();
    folder_entry_id_.clear();
}

void CItemsEvents::ItemAdd(const std::shared_ptr<OlItem>&) {
    on_item_event_();
}

void CItemsEvents::ItemChange(const std::shared_ptr<OlItem>&) {
    on_item_event_();
}

void CItemsEvents::ItemRemove() {
    on_item_event_();
}

ChangeDetector::ChangeDetector(EventLoop& loop, const Clock& clock, RebuildPage rebuild_page)
    : clock_(clock),
      rebuild_page_(std::move(rebuild_page)),
      timer_(loop.CreateTimer(kFirstDelayMs, [this] { Fire(); })) {}

void ChangeDetector::ItemChanged() {
    if (timer_->Enabled()) {
        return;  // already pending: the rebuild will show this change too
    }
    timer_->SetEnabled(true);
}

bool ChangeDetector::Pending() const {
    return timer_->Enabled();
}

void ChangeDetector::Stop() {
    timer_->SetEnabled(false);
}

void ChangeDetector::Fire() {
    // Back to idle before the build: a change reported while the build runs (it processes
    // messages) starts a new run instead of being absorbed into a build that has already
    // read the items.
    timer_->SetEnabled(false);
    timer_->SetInterval(kLaterDelayMs);
    rebuild_page_(clock_.Now());
}

}  // namespace planwarte
