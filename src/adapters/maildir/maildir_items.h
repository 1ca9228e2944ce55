#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "adapters/maildir/maildir_inbox_state.h"
#include "adapters/maildir/maildir_mail_item.h"
#include "core/outlook/item_sinks.h"
#include "core/outlook/item_sort_order.h"
#include "core/outlook/object_model.h"
#include "core/outlook/search_cursor.h"

namespace planwarte {

// The mails of the inbox, read afresh from its index at every call. Its sinks are its own,
// as on every other source: they hear of the inbox's changes while the collection lives.
class MaildirItems : public OlItems {
  public:
    MaildirItems(std::shared_ptr<MaildirInboxState> state, std::weak_ptr<OlFolder> folder);

    // The connection point of this collection's item events.
    const ItemSinks& Events() const { return sinks_; }

    // A column list only speeds reading up in other stores; every member is at hand here.
    void SetColumns(const std::string&) override {}
    void Sort(const std::string& property, bool descending) override;
    // Mail has no recurrences.
    void SetIncludeRecurrences(bool) override {}
    std::shared_ptr<OlItem> Find(const std::string& filter) override;
    std::shared_ptr<OlItem> FindNext() override;
    int Count() const override;
    std::shared_ptr<OlItem> Item(int index) override;
    std::shared_ptr<OlFolder> Parent() const override;
    int Advise(OlItemsEvents* sink) override;
    void Unadvise(int cookie) override;

  private:
    std::vector<std::shared_ptr<MaildirMailItem>> SortedMails() const;

    std::shared_ptr<MaildirInboxState> state_;
    std::weak_ptr<OlFolder> folder_;
    ItemSortOrder sort_order_;
    SearchCursor search_;
    ItemSinks sinks_;
};

}  // namespace planwarte
