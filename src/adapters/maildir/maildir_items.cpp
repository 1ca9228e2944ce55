#include "adapters/maildir/maildir_items.h"

#include "core/outlook/item_filter.h"
#include "core/outlook/item_properties.h"

namespace planwarte {

MaildirItems::MaildirItems(std::shared_ptr<MaildirInboxState> state, std::weak_ptr<OlFolder> folder)
    : state_(std::move(state)), folder_(std::move(folder)) {}

namespace {

std::optional<Variant> PropertyOf(const std::shared_ptr<MaildirMailItem>& mail,
                                  const std::string& name) {
    return MailProperty(*mail, name);
}

}  // namespace

void MaildirItems::Sort(const std::string& property, bool descending) {
    // Every mail has the same members; an empty inbox has no mail to lack one.
    const MaildirMailItem probe(state_, folder_, MaildirMail{});
    sort_order_.Set(property, descending, Count() == 0 || MailProperty(probe, property));
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
    // Equal values keep the order of the file names.
    sort_order_.Apply(items, PropertyOf);
    return items;
}

std::shared_ptr<OlItem> MaildirItems::Find(const std::string& filter) {
    search_.Clear();
    std::vector<std::shared_ptr<MaildirMailItem>> matches;
    try {
        const ItemFilter compiled = ParseItemFilter(filter);
        for (std::shared_ptr<MaildirMailItem>& item : SortedMails()) {
            if (compiled.Matches([&](const std::string& name) { return PropertyOf(item, name); })) {
                matches.push_back(std::move(item));
            }
        }
    } catch (const ItemFilterError& error) {
        throw OutlookError("Find", error.what());
    }
    return search_.Begin(std::move(matches),
                         [](const std::shared_ptr<MaildirMailItem>& item) { return item; });
}

std::shared_ptr<OlItem> MaildirItems::FindNext() {
    return search_.Next();
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
    return sinks_.Advise(sink);
}

void MaildirItems::Unadvise(int cookie) {
    sinks_.Unadvise(cookie);
}

}  // namespace planwarte
