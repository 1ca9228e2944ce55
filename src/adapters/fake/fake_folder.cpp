#include "adapters/fake/fake_folder.h"

#include <algorithm>
#include <cctype>

#include "core/outlook/item_filter.h"
#include "core/outlook/item_sort_order.h"

namespace planwarte {

namespace {

std::optional<Variant> PropertyOf(const std::shared_ptr<OlItem>& item, const std::string& name) {
    const FakeItemBase* fake = AsFakeItem(item.get());
    return fake ? fake->Property(name) : std::nullopt;
}

// "[Body],[Location]": bracketed names separated by commas.
bool IsColumnList(const std::string& columns) {
    std::size_t pos = 0;
    for (;;) {
        while (pos < columns.size() && columns[pos] == ' ') {
            ++pos;
        }
        if (pos >= columns.size() || columns[pos] != '[') {
            return false;
        }
        const std::size_t close = columns.find(']', pos);
        if (close == std::string::npos || close == pos + 1) {
            return false;
        }
        pos = close + 1;
        while (pos < columns.size() && columns[pos] == ' ') {
            ++pos;
        }
        if (pos == columns.size()) {
            return true;
        }
        if (columns[pos] != ',') {
            return false;
        }
        ++pos;
    }
}

}  // namespace

// ---- FakeFolder ----

FakeFolder::FakeFolder(std::shared_ptr<FakeOutlookState> state, std::string name,
                       std::string store_id, int item_type, std::weak_ptr<FakeFolder> parent)
    : state_(std::move(state)),
      name_(std::move(name)),
      entry_id_(state_->NewEntryID()),
      store_id_(std::move(store_id)),
      item_type_(item_type),
      parent_(std::move(parent)) {}

std::shared_ptr<FakeFolder> FakeFolder::AddFolder(const std::string& name, int item_type) {
    auto lock = state_->Hold();
    auto folder =
        std::make_shared<FakeFolder>(state_, name, store_id_, item_type, weak_from_this());
    subfolders_.push_back(folder);
    return folder;
}

std::shared_ptr<FakeAppointment> FakeFolder::AddAppointment(FakeAppointmentData data) {
    auto lock = state_->Hold();
    auto item = std::make_shared<FakeAppointment>(state_, weak_from_this(), std::move(data));
    items_.push_back(item);
    return item;
}

std::shared_ptr<FakeTask> FakeFolder::AddTask(FakeTaskData data) {
    auto lock = state_->Hold();
    auto item = std::make_shared<FakeTask>(state_, weak_from_this(), std::move(data));
    items_.push_back(item);
    return item;
}

std::shared_ptr<FakeMail> FakeFolder::AddMail(FakeMailData data) {
    auto lock = state_->Hold();
    auto item = std::make_shared<FakeMail>(state_, weak_from_this(), std::move(data));
    items_.push_back(item);
    return item;
}

void FakeFolder::RemoveItem(const std::shared_ptr<OlItem>& item) {
    auto lock = state_->Hold();
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
}

std::vector<std::shared_ptr<FakeItems>> FakeFolder::Collections() const {
    auto lock = state_->Hold();
    std::vector<std::shared_ptr<FakeItems>> alive;
    for (const std::weak_ptr<FakeItems>& weak : collections_) {
        if (std::shared_ptr<FakeItems> collection = weak.lock()) {
            alive.push_back(std::move(collection));
        }
    }
    return alive;
}

// The sinks are called without the lock, so that they may call back from any thread.
void FakeFolder::RaiseItemAdd(const std::shared_ptr<OlItem>& item) {
    for (const std::shared_ptr<FakeItems>& collection : Collections()) {
        collection->Events().ItemAdd(item);
    }
}

void FakeFolder::RaiseItemChange(const std::shared_ptr<OlItem>& item) {
    for (const std::shared_ptr<FakeItems>& collection : Collections()) {
        collection->Events().ItemChange(item);
    }
}

void FakeFolder::RaiseItemRemove() {
    for (const std::shared_ptr<FakeItems>& collection : Collections()) {
        collection->Events().ItemRemove();
    }
}

int FakeFolder::AdvisedSinkCount() const {
    std::size_t count = 0;
    for (const std::shared_ptr<FakeItems>& collection : Collections()) {
        count += collection->Events().Sinks().size();
    }
    return static_cast<int>(count);
}

std::shared_ptr<FakeFolder> FakeFolder::FindFolder(const std::string& entry_id) {
    auto lock = state_->Hold();
    if (entry_id_ == entry_id) {
        return shared_from_this();
    }
    for (const std::shared_ptr<FakeFolder>& folder : subfolders_) {
        if (std::shared_ptr<FakeFolder> found = folder->FindFolder(entry_id)) {
            return found;
        }
    }
    return nullptr;
}

std::shared_ptr<OlItem> FakeFolder::FindItem(const std::string& entry_id) {
    auto lock = state_->Hold();
    for (const std::shared_ptr<OlItem>& item : items_) {
        if (AsFakeItem(item.get())->ItemEntryID() == entry_id) {
            return item;
        }
    }
    for (const std::shared_ptr<FakeFolder>& folder : subfolders_) {
        if (std::shared_ptr<OlItem> found = folder->FindItem(entry_id)) {
            return found;
        }
    }
    return nullptr;
}

std::vector<std::shared_ptr<OlItem>> FakeFolder::ItemList() const {
    auto lock = state_->Hold();
    return items_;
}

std::vector<std::shared_ptr<FakeFolder>> FakeFolder::Subfolders() const {
    auto lock = state_->Hold();
    return subfolders_;
}

std::string FakeFolder::Name() const {
    auto lock = state_->Enter("Name");
    return name_;
}

std::string FakeFolder::EntryID() const {
    auto lock = state_->Enter("EntryID");
    return entry_id_;
}

std::string FakeFolder::StoreID() const {
    auto lock = state_->Enter("StoreID");
    return store_id_;
}

int FakeFolder::DefaultItemType() const {
    auto lock = state_->Enter("DefaultItemType");
    return item_type_;
}

std::shared_ptr<OlFolders> FakeFolder::Folders() {
    auto lock = state_->Enter("Folders", "Folders");
    if (state_->AnswersNull("Folders")) {
        return nullptr;
    }
    std::weak_ptr<FakeFolder> self = weak_from_this();
    return std::make_shared<FakeFolders>(state_, [self] {
        std::shared_ptr<FakeFolder> folder = self.lock();
        return folder ? folder->Subfolders() : std::vector<std::shared_ptr<FakeFolder>>();
    });
}

std::shared_ptr<OlItems> FakeFolder::Items() {
    auto lock = state_->Enter("Items", "Items");
    if (state_->AnswersNull("Items")) {
        return nullptr;
    }
    auto items = std::make_shared<FakeItems>(state_, shared_from_this());
    std::erase_if(collections_, [](const std::weak_ptr<FakeItems>& c) { return c.expired(); });
    collections_.push_back(items);
    return items;
}

std::shared_ptr<OlFolder> FakeFolder::Parent() const {
    auto lock = state_->Enter("Parent");
    return parent_.lock();
}

void FakeFolder::Display() {
    auto lock = state_->Enter("Display", "Display(" + entry_id_ + ")");
}

// ---- FakeFolders ----

FakeFolders::FakeFolders(std::shared_ptr<FakeOutlookState> state, Source source)
    : state_(std::move(state)), source_(std::move(source)) {}

int FakeFolders::Count() const {
    auto lock = state_->Enter("Folders.Count");
    return static_cast<int>(source_().size());
}

std::shared_ptr<OlFolder> FakeFolders::Item(int index) {
    auto lock = state_->Enter("Folders.Item", "Folders.Item(" + std::to_string(index) + ")");
    const std::vector<std::shared_ptr<FakeFolder>> folders = source_();
    if (index < 1 || index > static_cast<int>(folders.size())) {
        throw OutlookError("Folders.Item", "index out of range");
    }
    return folders[static_cast<std::size_t>(index - 1)];
}

// ---- FakeItems ----

FakeItems::FakeItems(std::shared_ptr<FakeOutlookState> state, std::shared_ptr<FakeFolder> folder)
    : state_(std::move(state)), folder_(std::move(folder)) {}

std::string FakeItems::Columns() const {
    auto lock = state_->Hold();
    return columns_;
}

void FakeItems::SetColumns(const std::string& columns) {
    auto lock = state_->Enter("SetColumns", "SetColumns(" + columns + ")");
    if (!IsColumnList(columns)) {
        throw OutlookError("SetColumns", "not a list of [property] names: " + columns);
    }
    columns_ = columns;
}

void FakeItems::Sort(const std::string& property, bool descending) {
    auto lock =
        state_->Enter("Sort", "Sort(" + property + "," + (descending ? "true" : "false") + ")");
    const std::vector<std::shared_ptr<OlItem>> items = folder_->ItemList();
    sort_order_.Set(property, descending,
                    std::all_of(items.begin(), items.end(), [&](const auto& item) {
                        return PropertyOf(item, property).has_value();
                    }));
}

void FakeItems::SetIncludeRecurrences(bool include) {
    auto lock = state_->Enter("SetIncludeRecurrences", std::string("SetIncludeRecurrences(") +
                                                           (include ? "true" : "false") + ")");
    include_recurrences_ = include;
}

std::vector<std::shared_ptr<OlItem>> FakeItems::Sorted(
    std::vector<std::shared_ptr<OlItem>> items) const {
    sort_order_.Apply(items, PropertyOf);
    return items;
}

std::shared_ptr<OlItem> FakeItems::Find(const std::string& filter) {
    auto lock = state_->Enter("Find", "Find(" + filter + ")");
    search_.Clear();
    std::vector<std::shared_ptr<OlItem>> matches;
    try {
        const ItemFilter compiled = ParseItemFilter(filter);
        const auto matches_filter = [&](const PropertyAccessor& properties) {
            return compiled.Matches(properties);
        };
        for (const std::shared_ptr<OlItem>& item : folder_->ItemList()) {
            auto appointment = std::dynamic_pointer_cast<FakeAppointment>(item);
            if (include_recurrences_ && appointment && appointment->Data().recurrence) {
                // A series stands for its occurrences; only the found ones become objects.
                for (const auto& time : appointment->OccurrenceTimes()) {
                    if (matches_filter([&](const std::string& name) {
                            return appointment->OccurrenceProperty(name, time);
                        })) {
                        matches.push_back(appointment->Occurrence(time));
                    }
                }
            } else if (matches_filter(
                           [&](const std::string& name) { return PropertyOf(item, name); })) {
                matches.push_back(item);
            }
        }
    } catch (const ItemFilterError& error) {
        throw OutlookError("Find", error.what());
    }
    return search_.Begin(Sorted(std::move(matches)),
                         [](const std::shared_ptr<OlItem>& item) { return item; });
}

std::shared_ptr<OlItem> FakeItems::FindNext() {
    auto lock = state_->Enter("FindNext", "FindNext");
    return search_.Next();
}

int FakeItems::Count() const {
    auto lock = state_->Enter("Items.Count");
    return static_cast<int>(folder_->ItemList().size());
}

std::shared_ptr<OlItem> FakeItems::Item(int index) {
    auto lock = state_->Enter("Items.Item", "Items.Item(" + std::to_string(index) + ")");
    const std::vector<std::shared_ptr<OlItem>> items = Sorted(folder_->ItemList());
    if (index < 1 || index > static_cast<int>(items.size())) {
        throw OutlookError("Items.Item", "index out of range");
    }
    return items[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<OlFolder> FakeItems::Parent() const {
    auto lock = state_->Enter("Parent");
    return folder_;
}

int FakeItems::Advise(OlItemsEvents* sink) {
    auto lock = state_->Enter("Advise", "Advise");
    return sinks_.Advise(sink);
}

void FakeItems::Unadvise(int cookie) {
    auto lock = state_->Enter("Unadvise", "Unadvise(" + std::to_string(cookie) + ")");
    sinks_.Unadvise(cookie);
}

}  // namespace planwarte
