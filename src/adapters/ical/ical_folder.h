#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "adapters/ical/collection_snapshot.h"
#include "adapters/ical/ical_item_objects.h"
#include "core/outlook/item_filter_range.h"
#include "core/outlook/item_sinks.h"
#include "core/outlook/item_sort_order.h"
#include "core/outlook/object_model.h"
#include "core/outlook/search_cursor.h"

// The folders of this source: a store's top folder, folders holding collections, and the
// collections themselves (calendar or task folders). A folder object stays the same for its
// path as long as the program runs; a re-reading swaps its snapshot.
namespace planwarte {

class IcalItems;

class IcalFolder : public OlFolder, public std::enable_shared_from_this<IcalFolder> {
  public:
    IcalFolder(std::string path, std::string entry_id, std::string store_id, int item_type,
               std::weak_ptr<IcalFolder> parent, OpenPath open_path);

    const std::string& Path() const { return path_; }

    void SetName(const std::string& name);
    void SetItemType(int item_type);
    void SetChildren(std::vector<std::shared_ptr<IcalFolder>> children);
    std::vector<std::shared_ptr<IcalFolder>> Children() const;
    void SetSnapshot(std::shared_ptr<const CollectionSnapshot> snapshot);
    std::shared_ptr<const CollectionSnapshot> Snapshot() const;
    // The sinks now advised on the folder's Items collections that are still alive.
    std::vector<OlItemsEvents*> Sinks() const;
    // An object for one of the folder's items.
    std::shared_ptr<OlItem> ItemObject(std::shared_ptr<const ItemRecord> record,
                                       const std::optional<Occurrence>& occurrence = std::nullopt);

    std::string Name() const override;
    std::string EntryID() const override;
    std::string StoreID() const override;
    int DefaultItemType() const override;
    std::shared_ptr<OlFolders> Folders() override;
    std::shared_ptr<OlItems> Items() override;
    std::shared_ptr<OlFolder> Parent() const override;
    void Display() override;

  private:
    const std::string path_;
    const std::string entry_id_;
    const std::string store_id_;
    const std::weak_ptr<IcalFolder> parent_;
    const OpenPath open_path_;

    mutable std::mutex mutex_;
    std::string name_;
    int item_type_;
    std::vector<std::shared_ptr<IcalFolder>> children_;
    std::shared_ptr<const CollectionSnapshot> snapshot_;
    std::vector<std::weak_ptr<IcalItems>> collections_;
};

// A list of folders read live from its source on every call.
class IcalFolders : public OlFolders {
  public:
    using Source = std::function<std::vector<std::shared_ptr<IcalFolder>>()>;
    explicit IcalFolders(Source source) : source_(std::move(source)) {}
    int Count() const override;
    std::shared_ptr<OlFolder> Item(int index) override;

  private:
    Source source_;
};

// One Items collection of a folder with its own sort order, recurrence switch and search.
// Count and Item list the folder's items (a series as its master); Find and FindNext see
// every occurrence of a series instead when recurrences are included. A search answers from
// the matches as they stood at its Find.
class IcalItems : public OlItems {
  public:
    explicit IcalItems(std::shared_ptr<IcalFolder> folder);

    std::vector<OlItemsEvents*> Sinks() const;

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
    struct Match {
        std::shared_ptr<const ItemRecord> record;
        std::optional<Occurrence> occurrence;
        std::size_t listing_index = 0;
    };
    std::vector<Match> Candidates(const CollectionSnapshot& snapshot,
                                  const ItemFilterRange& range) const;
    void SortMatches(std::vector<Match>& matches) const;
    std::optional<Variant> PropertyOf(const Match& match, const std::string& name) const;

    std::shared_ptr<IcalFolder> folder_;
    // The listing in sort order, kept for the snapshot it was made from.
    std::shared_ptr<const CollectionSnapshot> listed_snapshot_;
    std::vector<Match> listed_;
    ItemSortOrder sort_order_;
    bool include_recurrences_ = false;
    SearchCursor search_;
    ItemSinks sinks_;
};

}  // namespace planwarte
