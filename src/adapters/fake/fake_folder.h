#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_item_data.h"
#include "adapters/fake/fake_items.h"
#include "adapters/fake/fake_outlook_state.h"
#include "core/outlook/item_sinks.h"
#include "core/outlook/item_sort_order.h"
#include "core/outlook/object_model.h"
#include "core/outlook/search_cursor.h"

namespace planwarte {

class FakeItems;

// A folder of the fake source: a top folder of a store or a folder below one. Its items
// live in the order they were added; the event helpers reach every sink advised on an
// Items collection of the folder that is still alive.
class FakeFolder : public OlFolder, public std::enable_shared_from_this<FakeFolder> {
  public:
    FakeFolder(std::shared_ptr<FakeOutlookState> state, std::string name, std::string store_id,
               int item_type, std::weak_ptr<FakeFolder> parent);

    // Builders for tests.
    std::shared_ptr<FakeFolder> AddFolder(const std::string& name, int item_type);
    std::shared_ptr<FakeAppointment> AddAppointment(FakeAppointmentData data);
    std::shared_ptr<FakeTask> AddTask(FakeTaskData data);
    std::shared_ptr<FakeMail> AddMail(FakeMailData data);
    // Takes the item out of the folder (it keeps answering to holders of a reference).
    void RemoveItem(const std::shared_ptr<OlItem>& item);

    // Event helpers: deliver the item event to every connected sink of the folder.
    void RaiseItemAdd(const std::shared_ptr<OlItem>& item);
    void RaiseItemChange(const std::shared_ptr<OlItem>& item);
    void RaiseItemRemove();
    // The sinks now connected to the folder's Items collections.
    int AdvisedSinkCount() const;

    // Lookups of the namespace, in this folder and below it.
    std::shared_ptr<FakeFolder> FindFolder(const std::string& entry_id);
    std::shared_ptr<OlItem> FindItem(const std::string& entry_id);

    std::vector<std::shared_ptr<OlItem>> ItemList() const;
    std::vector<std::shared_ptr<FakeFolder>> Subfolders() const;

    std::string Name() const override;
    std::string EntryID() const override;
    std::string StoreID() const override;
    int DefaultItemType() const override;
    std::shared_ptr<OlFolders> Folders() override;
    std::shared_ptr<OlItems> Items() override;
    std::shared_ptr<OlFolder> Parent() const override;
    void Display() override;

  private:
    std::vector<std::shared_ptr<FakeItems>> Collections() const;

    std::shared_ptr<FakeOutlookState> state_;
    std::string name_;
    std::string entry_id_;
    std::string store_id_;
    int item_type_;
    std::weak_ptr<FakeFolder> parent_;
    std::vector<std::shared_ptr<FakeFolder>> subfolders_;
    std::vector<std::shared_ptr<OlItem>> items_;
    std::vector<std::weak_ptr<FakeItems>> collections_;
};

// A list of folders read live from its owner, so that a count read again on every step
// sees folders added meanwhile.
class FakeFolders : public OlFolders {
  public:
    using Source = std::function<std::vector<std::shared_ptr<FakeFolder>>()>;
    FakeFolders(std::shared_ptr<FakeOutlookState> state, Source source);
    int Count() const override;
    std::shared_ptr<OlFolder> Item(int index) override;

  private:
    std::shared_ptr<FakeOutlookState> state_;
    Source source_;
};

// One Items collection of a folder, with its own sort order, recurrence switch, columns and
// search. Count and Item see the folder's items (series as their master appointment); Find
// and FindNext see every occurrence of a series instead when recurrences are included.
// A search answers from the matches as they stood at its Find.
class FakeItems : public OlItems {
  public:
    FakeItems(std::shared_ptr<FakeOutlookState> state, std::shared_ptr<FakeFolder> folder);

    // Test helper: the columns last set, as given.
    std::string Columns() const;
    // The connection point of this collection's item events.
    const ItemSinks& Events() const { return sinks_; }

    void SetColumns(const std::string& columns) override;
    void Sort(const std::string& property, bool descending) override;
    void SetIncludeRecurrences(bool include) override;
    std::shared_ptr<OlItem> Find(const std::string& filter) override;
    std::shared_ptr<OlItem> FindNext() override;
    int Count() const override;
    std::shared_ptr<OlItem> Item(int index) override;
    std::shared_ptr<OlFolder> Parent() const override;
    int Advise(OlItemsEvents* sink) override;
    void Unadvise(int cookie) override;

  private:
    std::vector<std::shared_ptr<OlItem>> Sorted(std::vector<std::shared_ptr<OlItem>> items) const;

    std::shared_ptr<FakeOutlookState> state_;
    std::shared_ptr<FakeFolder> folder_;
    std::string columns_;
    ItemSortOrder sort_order_;
    bool include_recurrences_ = false;
    SearchCursor search_;
    ItemSinks sinks_;
};

}  // namespace planwarte
