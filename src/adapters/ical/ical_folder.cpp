#include "adapters/ical/ical_folder.h"

#include <algorithm>
#include <cctype>
#include <compare>

#include "adapters/ical/compiled_filters.h"
#include "core/outlook/item_filter.h"
#include "core/outlook/item_properties.h"

namespace planwarte {

namespace {

// How far past the latest date a filter names (or past a series' start) a search that is
// not bounded in time expands a series without end.
constexpr double kUnboundedHorizonDays = 3653.0;

}  // namespace

// ---- IcalFolder ----

IcalFolder::IcalFolder(std::string path, std::string entry_id, std::string store_id, int item_type,
                       std::weak_ptr<IcalFolder> parent, OpenPath open_path)
    : path_(std::move(path)),
      entry_id_(std::move(entry_id)),
      store_id_(std::move(store_id)),
      parent_(std::move(parent)),
      open_path_(std::move(open_path)),
      item_type_(item_type),
      snapshot_(MakeSnapshot(item_type, {}, nullptr)) {}

void IcalFolder::SetName(const std::string& name) {
    std::lock_guard lock(mutex_);
    name_ = name;
}

void IcalFolder::SetItemType(int item_type) {
    std::lock_guard lock(mutex_);
    item_type_ = item_type;
}

void IcalFolder::SetChildren(std::vector<std::shared_ptr<IcalFolder>> children) {
    std::lock_guard lock(mutex_);
    children_ = std::move(children);
}

std::vector<std::shared_ptr<IcalFolder>> IcalFolder::Children() const {
    std::lock_guard lock(mutex_);
    return children_;
}

void IcalFolder::SetSnapshot(std::shared_ptr<const CollectionSnapshot> snapshot) {
    std::lock_guard lock(mutex_);
    snapshot_ = std::move(snapshot);
}

std::shared_ptr<const CollectionSnapshot> IcalFolder::Snapshot() const {
    std::lock_guard lock(mutex_);
    return snapshot_;
}

std::vector<OlItemsEvents*> IcalFolder::Sinks() const {
    std::vector<std::shared_ptr<IcalItems>> alive;
    {
        std::lock_guard lock(mutex_);
        for (const std::weak_ptr<IcalItems>& collection : collections_) {
            if (std::shared_ptr<IcalItems> items = collection.lock()) {
                alive.push_back(std::move(items));
            }
        }
    }
    std::vector<OlItemsEvents*> sinks;
    for (const std::shared_ptr<IcalItems>& items : alive) {
        for (OlItemsEvents* sink : items->Sinks()) {
            sinks.push_back(sink);
        }
    }
    return sinks;
}

std::shared_ptr<OlItem> IcalFolder::ItemObject(std::shared_ptr<const ItemRecord> record,
                                               const std::optional<Occurrence>& occurrence) {
    return MakeItemObject(std::move(record), weak_from_this(), open_path_, occurrence);
}

std::string IcalFolder::Name() const {
    std::lock_guard lock(mutex_);
    return name_;
}

std::string IcalFolder::EntryID() const {
    return entry_id_;
}

std::string IcalFolder::StoreID() const {
    return store_id_;
}

int IcalFolder::DefaultItemType() const {
    std::lock_guard lock(mutex_);
    return item_type_;
}

std::shared_ptr<OlFolders> IcalFolder::Folders() {
    std::weak_ptr<IcalFolder> self = weak_from_this();
    return std::make_shared<IcalFolders>([self] {
        std::shared_ptr<IcalFolder> folder = self.lock();
        return folder ? folder->Children() : std::vector<std::shared_ptr<IcalFolder>>();
    });
}

std::shared_ptr<OlItems> IcalFolder::Items() {
    auto items = std::make_shared<IcalItems>(shared_from_this());
    std::lock_guard lock(mutex_);
    std::erase_if(collections_, [](const std::weak_ptr<IcalItems>& c) { return c.expired(); });
    collections_.push_back(items);
    return items;
}

std::shared_ptr<OlFolder> IcalFolder::Parent() const {
    return parent_.lock();
}

void IcalFolder::Display() {
    if (open_path_) {
        open_path_(path_);
    }
}

// ---- IcalFolders ----

int IcalFolders::Count() const {
    return static_cast<int>(source_().size());
}

std::shared_ptr<OlFolder> IcalFolders::Item(int index) {
    const std::vector<std::shared_ptr<IcalFolder>> folders = source_();
    if (index < 1 || index > static_cast<int>(folders.size())) {
        throw OutlookError("Folders.Item", "index out of range");
    }
    return folders[static_cast<std::size_t>(index - 1)];
}

// ---- IcalItems ----

IcalItems::IcalItems(std::shared_ptr<IcalFolder> folder) : folder_(std::move(folder)) {}

std::vector<OlItemsEvents*> IcalItems::Sinks() const {
    return sinks_.Sinks();
}

// Every property is read from the parsed files anyway; the column list changes nothing.
void IcalItems::SetColumns(const std::string&) {}

void IcalItems::Sort(const std::string& property, bool descending) {
    // The items of a folder are of one kind, and the kind decides which properties exist.
    const std::shared_ptr<const CollectionSnapshot> snapshot = folder_->Snapshot();
    sort_order_.Set(property, descending,
                    snapshot->listing.empty() ||
                        PropertyOf({snapshot->listing.front(), std::nullopt, 0}, property));
    listed_snapshot_.reset();
}

void IcalItems::SetIncludeRecurrences(bool include) {
    include_recurrences_ = include;
}

// Read through a stand-in item on the stack: a search makes objects only of what it finds.
std::optional<Variant> IcalItems::PropertyOf(const Match& match, const std::string& name) const {
    if (match.record->task) {
        const IcalTask task(match.record, {}, {});
        return TaskProperty(task, name);
    }
    const IcalAppointment appointment(match.record, {}, {}, match.occurrence);
    return AppointmentProperty(appointment, name);
}

std::vector<IcalItems::Match> IcalItems::Candidates(const CollectionSnapshot& snapshot,
                                                    const ItemFilterRange& range) const {
    std::vector<Match> candidates;
    const auto& listing = snapshot.listing;
    const auto add = [&](std::size_t index) {
        candidates.push_back({listing[index], std::nullopt, index});
    };
    if (!include_recurrences_ || snapshot.item_type == kItemTypeTask) {
        if (range.bounded && snapshot.item_type == kItemTypeTask) {
            const auto& tasks = snapshot.tasks_by_due;
            auto first = std::lower_bound(
                tasks.begin(), tasks.end(), range.from,
                [&](std::size_t index, DateTime from) { return listing[index]->task->due < from; });
            for (auto it = first; it != tasks.end() && listing[*it]->task->due < range.to; ++it) {
                add(*it);
            }
            return candidates;
        }
        for (std::size_t i = 0; i < listing.size(); ++i) {
            add(i);
        }
        return candidates;
    }
    const auto fields = [&](std::size_t index) -> const EventFields& {
        return listing[index]->event->fields;
    };
    if (range.bounded) {
        const auto& singles = snapshot.short_singles_by_start;
        const DateTime earliest(range.from.value - kLongEventDays);
        auto first = std::lower_bound(
            singles.begin(), singles.end(), earliest,
            [&](std::size_t index, DateTime from) { return fields(index).start < from; });
        for (auto it = first; it != singles.end() && fields(*it).start < range.to; ++it) {
            if (fields(*it).end >= range.from) {
                add(*it);
            }
        }
        for (std::size_t index : snapshot.long_singles) {
            if (fields(index).start < range.to && fields(index).end >= range.from) {
                add(index);
            }
        }
    } else {
        for (std::size_t index : snapshot.short_singles_by_start) {
            add(index);
        }
        for (std::size_t index : snapshot.long_singles) {
            add(index);
        }
    }
    if (range.bounded) {
        for (const SeriesOccurrenceIndex::Entry& entry :
             snapshot.series_occurrences->Between(listing, snapshot.series, range.from, range.to)) {
            candidates.push_back(
                {listing[entry.listing_index], entry.occurrence, entry.listing_index});
        }
        return candidates;
    }
    for (std::size_t index : snapshot.series) {
        const EventRecord& event = *listing[index]->event;
        const double base =
            std::max(range.latest.value_or(event.fields.start).value, event.fields.start.value);
        const DateTime from(-693593.0);  // 1 January of the year 1
        const DateTime to(base + kUnboundedHorizonDays);
        for (const Occurrence& occurrence : event.occurrences->Between(event, from, to)) {
            candidates.push_back({listing[index], occurrence, index});
        }
    }
    return candidates;
}

void IcalItems::SortMatches(std::vector<Match>& matches) const {
    // The folder's order first, so that equal values keep it in both directions.
    std::stable_sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        if (a.listing_index != b.listing_index) {
            return a.listing_index < b.listing_index;
        }
        const double a_start = a.occurrence ? a.occurrence->start.value : 0.0;
        const double b_start = b.occurrence ? b.occurrence->start.value : 0.0;
        return a_start < b_start;
    });
    sort_order_.Apply(matches, [this](const Match& match, const std::string& property) {
        return PropertyOf(match, property);
    });
}

std::shared_ptr<OlItem> IcalItems::Find(const std::string& filter) {
    search_.Clear();
    const std::shared_ptr<const CollectionSnapshot> snapshot = folder_->Snapshot();
    std::vector<Match> found;
    try {
        const std::shared_ptr<const CompiledFilter> compiled = CompiledFilterOf(filter);
        // A fault such as an unknown property is one for every item, also when the range
        // leaves none to look at.
        if (!snapshot->listing.empty()) {
            const Match first{snapshot->listing.front(), std::nullopt, 0};
            compiled->filter.Matches(
                [&](const std::string& name) { return PropertyOf(first, name); });
        }
        for (Match& candidate : Candidates(*snapshot, compiled->range)) {
            if (compiled->filter.Matches(
                    [&](const std::string& name) { return PropertyOf(candidate, name); })) {
                found.push_back(std::move(candidate));
            }
        }
    } catch (const ItemFilterError& error) {
        throw OutlookError("Find", error.what());
    }
    SortMatches(found);
    return search_.Begin(std::move(found), [folder = folder_](const Match& match) {
        return folder->ItemObject(match.record, match.occurrence);
    });
}

std::shared_ptr<OlItem> IcalItems::FindNext() {
    return search_.Next();
}

int IcalItems::Count() const {
    return static_cast<int>(folder_->Snapshot()->listing.size());
}

std::shared_ptr<OlItem> IcalItems::Item(int index) {
    const std::shared_ptr<const CollectionSnapshot> snapshot = folder_->Snapshot();
    if (index < 1 || index > static_cast<int>(snapshot->listing.size())) {
        throw OutlookError("Items.Item", "index out of range");
    }
    // A walk by index asks for every item in turn: the order is sorted once per reading.
    if (listed_snapshot_ != snapshot) {
        listed_.clear();
        listed_.reserve(snapshot->listing.size());
        for (std::size_t i = 0; i < snapshot->listing.size(); ++i) {
            listed_.push_back({snapshot->listing[i], std::nullopt, i});
        }
        SortMatches(listed_);
        listed_snapshot_ = snapshot;
    }
    return folder_->ItemObject(listed_[static_cast<std::size_t>(index - 1)].record);
}

std::shared_ptr<OlFolder> IcalItems::Parent() const {
    return folder_;
}

int IcalItems::Advise(OlItemsEvents* sink) {
    return sinks_.Advise(sink);
}

void IcalItems::Unadvise(int cookie) {
    sinks_.Unadvise(cookie);
}

}  // namespace planwarte
