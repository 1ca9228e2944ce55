#include "adapters/maildir/maildir_items.h"

#include <algorithm>
#include <cctype>
#include <compare>

#include "core/outlook/item_filter.h"
#include "core/outlook/item_sort_order.h"

namespace planwarte {

MaildirItems::MaildirItems(std::shared_ptr<MaildirInboxState> state, std::weak_ptr<OlFolder> folder)
    : state_(std::move(state)), folder_(std::move(folder)) {}

void MaildirItems::Sort(const std::string& property, bool descending) {
    const MaildirMailItem probe(state_, folder_, MaildirMail{});
    if (!probe.Property(property)) {
        throw OutlookError("Sort", "mail has no property " + property);
    }
    sort_property_ = property;
    descending_ = descending;
}

std::vector<std::shared_ptr<MaildirMailItem>> MaildirItems::SortedMails() const {
    std::vector<MaildirMail> mails;
    {
        std::lock_guard lock(state_->mutex);
        mails = state_->index.Mails();
    }
    std::vector<std::shared_ptr<MaildirMailItem>> items;
    items.reserve(mails.size());
    for (MaildirMail& mail : mails) {
        items.push_back(std::make_shared<MaildirMailItem>(state_, folder_, std::move(mail)));
    }
    if (!sort_property_.empty()) {
        // Stable, so that equal values keep the order of the file names in both directions.
        std::stable_sort(items.begin(), items.end(), [&](const auto& a, const auto& b) {
            const std::partial_ordering order =
                CompareSortValues(a->Property(sort_property_), b->Property(sort_property_));
            return descending_ ? order > 0 : order < 0;
        });
    }
    return items;
}

std::shared_ptr<OlItem> MaildirItems::Find(const std::string& filter) {
    searching_ = false;
    matches_.clear();
    next_match_ = 0;
    try {
        const ItemFilter compiled = ParseItemFilter(filter);
        for (std::shared_ptr<MaildirMailItem>& item : SortedMails()) {
            if (compiled.Matches([&](const std::string& name) { return item->Property(name); })) {
                matches_.push_back(std::move(item));
            }
        }
    } catch (const ItemFilterError& error) {
        throw OutlookError("Find", error.what());
    }
    searching_ = true;
    return FindNext();
}

std::shared_ptr<OlItem> MaildirItems::FindNext() {
    if (!searching_) {
        throw OutlookError("FindNext", "no Find before");
    }
    if (next_match_ >= matches_.size()) {
        return nullptr;
    }
    return matches_[next_match_++];
}

int MaildirItems::Count() const {
    std::lock_guard lock(state_->mutex);
    return static_cast<int>(state_->index.Count());
}

std::shared_ptr<OlItem> MaildirItems::Item(int index) {
    const std::vector<std::shared_ptr<MaildirMailItem>> items = SortedMails();
    if (index < 1 || index > static_cast<int>(items.size())) {
        throw OutlookError("Items.Item", "index out of range");
    }
    return items[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<OlFolder> MaildirItems::Parent() const {
    std::shared_ptr<OlFolder> folder = folder_.lock();
    if (!folder) {
        throw OutlookError("Parent", "the inbox is gone");
    }
    return folder;
}

int MaildirItems::Advise(OlItemsEvents* sink) {
    if (sink == nullptr) {
        throw OutlookError("Advise", "no sink");
    }
    std::lock_guard lock(state_->mutex);
    const int cookie = state_->next_cookie++;
    state_->sinks[cookie] = sink;
    return cookie;
}

void MaildirItems::Unadvise(int cookie) {
    std::lock_guard lock(state_->mutex);
    if (state_->sinks.erase(cookie) == 0) {
        throw OutlookError("Unadvise", "no connection " + std::to_string(cookie));
    }
}

}  // namespace planwarte
