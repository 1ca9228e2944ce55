#include "adapters/ical/ical_catalog.h"

#include <sys/stat.h>
#include <algorithm>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "adapters/ical/ical_reader.h"
#include "adapters/ical/stable_ids.h"

namespace planwarte {

namespace fs = std::filesystem;

namespace {

// Larger files are no calendar items a person keeps; reading them would only stall the page.
constexpr long long kMaxFileSize = 32LL * 1024 * 1024;

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {true, static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec,
            static_cast<long long>(info.st_size), static_cast<unsigned long long>(info.st_ino)};
}

std::string CanonicalPath(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) {
        return path;
    }
    fs::path canonical = fs::weakly_canonical(absolute, error);
    std::string text = (error ? absolute : canonical).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::string BaseName(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return name.empty() ? path : name;
}

bool ContainsWord(std::string text, const char* word) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text.find(word) != std::string::npos;
}

// The kind of a collection: what its items are, else what its props declare, else what the
// calendar tool it comes from says, else its name.
int ItemTypeOf(const std::vector<std::shared_ptr<const ItemRecord>>& records,
               const CollectionMeta& meta, const std::string& path, bool known_task_list) {
    bool events = false;
    bool tasks = false;
    for (const auto& record : records) {
        events = events || record->event.has_value();
        tasks = tasks || record->task.has_value();
    }
    if (events) {
        return kItemTypeAppointment;
    }
    if (tasks) {
        return kItemTypeTask;
    }
    if (!meta.components.empty()) {
        const bool declares_todo = meta.components.find("VTODO") != std::string::npos;
        const bool declares_event = meta.components.find("VEVENT") != std::string::npos;
        if (declares_todo && !declares_event) {
            return kItemTypeTask;
        }
        if (declares_event) {
            return kItemTypeAppointment;
        }
    }
    if (known_task_list) {
        return kItemTypeTask;
    }
    for (const std::string& name : {meta.name, BaseName(path)}) {
        for (const char* word : {"task", "todo", "to-do", "aufgabe"}) {
            if (ContainsWord(name, word)) {
                return kItemTypeTask;
            }
        }
    }
    return kItemTypeAppointment;
}

}  // namespace

IcalCatalog::IcalCatalog(IcalSources sources) : sources_(std::move(sources)) {}

void IcalCatalog::Trace(const std::string& line) const {
    if (sources_.trace) {
        sources_.trace("ical: " + line);
    }
}

void IcalCatalog::EnsureLoaded() {
    std::lock_guard lock(mutex_);
    if (loaded_) {
        return;
    }
    for (const std::string& root : sources_.store_roots) {
        const std::string path = CanonicalPath(root);
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            Trace("the calendar folder " + path + " does not exist (yet)");
        }
        auto top = std::make_shared<IcalFolder>(path, StableHexId("store-folder", path),
                                                StableHexId("store", path), kItemTypeMail,
                                                std::weak_ptr<IcalFolder>(), sources_.open_path);
        top->SetName(BaseName(path));
        const bool known_collection =
            std::any_of(sources_.collection_roots.begin(), sources_.collection_roots.end(),
                        [&](const std::string& known) { return CanonicalPath(known) == path; });
        stores_.push_back({path, std::move(top), known_collection});
    }
    Scan(nullptr);
    loaded_ = true;
}

void IcalCatalog::Refresh() {
    std::vector<PendingEvent> events;
    {
        std::unique_lock lock(mutex_);
        if (!loaded_) {
            lock.unlock();
            EnsureLoaded();  // nobody can have advised a sink before the first reading
            return;
        }
        Scan(&events);
    }
    for (const PendingEvent& event : events) {
        const std::vector<OlItemsEvents*> sinks = event.folder->Sinks();
        if (sinks.empty()) {
            continue;
        }
        const std::shared_ptr<OlItem> item =
            event.kind == EventKind::Remove ? nullptr : event.folder->ItemObject(event.record);
        for (OlItemsEvents* sink : sinks) {
            try {
                switch (event.kind) {
                    case EventKind::Add:
                        sink->ItemAdd(item);
                        break;
                    case EventKind::Change:
                        sink->ItemChange(item);
                        break;
                    case EventKind::Remove:
                        sink->ItemRemove();
                        break;
                }
            } catch (const std::exception& error) {
                Trace(std::string("an item event handler failed: ") + error.what());
            }
        }
    }
}

void IcalCatalog::Scan(std::vector<PendingEvent>* events) {
    collection_order_.clear();
    for (Store& store : stores_) {
        store.top->SetChildren(
            PlaceFolders(StoreLayout(store.root, store.known_collection), store.top, events));
    }
    const std::set<std::string> placed(collection_order_.begin(), collection_order_.end());
    for (auto& [path, collection] : collections_) {
        if (collection.present && !placed.count(path)) {
            Trace("the collection " + path + " is gone");
            Retire(collection, events);
        }
    }
}

std::vector<std::shared_ptr<IcalFolder>> IcalCatalog::PlaceFolders(
    const std::vector<FolderLayout>& layouts, const std::shared_ptr<IcalFolder>& parent,
    std::vector<PendingEvent>* events) {
    std::vector<std::shared_ptr<IcalFolder>> placed;
    for (const FolderLayout& layout : layouts) {
        const std::string path = CanonicalPath(layout.path);
        std::shared_ptr<IcalFolder>& folder = folders_[path];
        if (!folder) {
            folder = std::make_shared<IcalFolder>(
                path, StableHexId("folder", path), parent->StoreID(),
                layout.is_collection ? kItemTypeAppointment : kItemTypeMail, parent,
                sources_.open_path);
        }
        if (layout.is_collection) {
            if (std::find(collection_order_.begin(), collection_order_.end(), path) !=
                collection_order_.end()) {
                continue;  // reached twice through a link
            }
            Collection& collection = collections_[path];
            collection.folder = folder;
            collection.present = true;
            ReadCollection(collection, events);
            collection_order_.push_back(path);
        } else {
            folder->SetName(ReadCollectionMeta(path).name);
            folder->SetChildren(PlaceFolders(layout.children, folder, events));
        }
        placed.push_back(folder);
    }
    return placed;
}

void IcalCatalog::ReadFile(const std::string& collection_path, const std::string& file,
                           const FileStamp& before, FileEntry& entry) {
    entry.modified_ns = before.modified_ns;
    entry.size = before.size;
    entry.inode = before.inode;
    if (before.size > kMaxFileSize) {
        Trace("skipped " + file + ": larger than " + std::to_string(kMaxFileSize) + " bytes");
        entry.records.clear();
        return;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in.good() && !in.eof()) {
        Trace("skipped " + file + ": it cannot be read");
        entry.records.clear();
        return;
    }
    if (!(StampOf(file) == before)) {
        // Being written just now: the old contents stand until the next reading.
        Trace(file + " changed while it was read; read again next time");
        entry.modified_ns = -1;
        return;
    }
    const ReadResult result = ReadCalendarText(content.str());
    for (const std::string& note : result.notes) {
        Trace(file + ": " + note);
    }
    entry.records.clear();
    if (!result.error.empty()) {
        Trace("skipped " + file + ": " + result.error);
        return;
    }
    const std::string file_name = BaseName(file);
    for (const ItemRecord& read : result.items) {
        auto record = std::make_shared<ItemRecord>(read);
        record->file_path = file;
        // The UID names an item wherever its file lies; one without a UID has only its file.
        const bool unnamed = !read.uid.empty() && read.uid.front() == '#';
        record->entry_id = StableHexId(
            "item", collection_path + '\n' + (unnamed ? file_name + read.uid : read.uid));
        entry.records.push_back(std::move(record));
    }
}

void IcalCatalog::ReadCollection(Collection& collection, std::vector<PendingEvent>* events) {
    const std::string& path = collection.folder->Path();
    const CollectionMeta meta = ReadCollectionMeta(path);
    collection.folder->SetName(meta.name);
    bool changed = false;
    std::map<std::string, FileEntry> files;
    for (const std::string& file : CalendarFiles(path)) {
        const FileStamp stamp = StampOf(file);
        if (!stamp.ok) {
            continue;  // gone since the folder was listed
        }
        auto old = collection.files.find(file);
        if (old != collection.files.end() && old->second.modified_ns == stamp.modified_ns &&
            old->second.size == stamp.size && old->second.inode == stamp.inode) {
            files.emplace(file, std::move(old->second));
            continue;
        }
        changed = true;
        FileEntry entry;
        if (old != collection.files.end()) {
            entry.records = std::move(old->second.records);
        }
        ReadFile(path, file, stamp, entry);
        files.emplace(file, std::move(entry));
    }
    changed = changed || files.size() != collection.files.size();
    collection.files = std::move(files);
    if (!changed && collection.read_once) {
        return;
    }
    collection.read_once = true;

    std::vector<std::shared_ptr<const ItemRecord>> records;
    std::set<std::string> ids;
    for (const auto& [file, entry] : collection.files) {
        for (const auto& record : entry.records) {
            if (!ids.insert(record->entry_id).second) {
                Trace(file + ": a second item with UID " + record->uid + " is left out");
                continue;
            }
            records.push_back(record);
        }
    }
    const bool known_task_list =
        std::any_of(sources_.task_list_roots.begin(), sources_.task_list_roots.end(),
                    [&](const std::string& known) { return CanonicalPath(known) == path; });
    const int item_type = ItemTypeOf(records, meta, path, known_task_list);
    std::size_t left_out = 0;
    auto snapshot = MakeSnapshot(item_type, records, &left_out);
    if (left_out > 0) {
        Trace(path + ": " + std::to_string(left_out) + " item(s) of the other kind left out");
    }
    const auto old = collection.folder->Snapshot();
    if (events != nullptr) {
        for (const auto& record : snapshot->listing) {
            const auto before = old->by_entry_id.find(record->entry_id);
            if (before == old->by_entry_id.end()) {
                events->push_back({collection.folder, EventKind::Add, record});
            } else if (old->listing[before->second] != record) {
                events->push_back({collection.folder, EventKind::Change, record});
            }
        }
        for (const auto& record : old->listing) {
            if (!snapshot->by_entry_id.count(record->entry_id)) {
                events->push_back({collection.folder, EventKind::Remove, record});
            }
        }
    }
    collection.folder->SetItemType(item_type);
    collection.folder->SetSnapshot(std::move(snapshot));
}

void IcalCatalog::Retire(Collection& collection, std::vector<PendingEvent>* events) {
    collection.present = false;
    collection.read_once = false;
    collection.files.clear();
    const auto old = collection.folder->Snapshot();
    if (events != nullptr) {
        for (const auto& record : old->listing) {
            events->push_back({collection.folder, EventKind::Remove, record});
        }
    }
    collection.folder->SetSnapshot(MakeSnapshot(old->item_type, {}, nullptr));
}

std::vector<std::string> IcalCatalog::WatchedPaths() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> paths;
    for (const Store& store : stores_) {
        paths.push_back(store.root);
    }
    for (const auto& [path, folder] : folders_) {
        const auto collection = collections_.find(path);
        if (collection == collections_.end() || collection->second.present) {
            paths.push_back(path);
        }
    }
    return paths;
}

std::vector<std::shared_ptr<IcalFolder>> IcalCatalog::StoreFolders() const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<IcalFolder>> tops;
    for (const Store& store : stores_) {
        tops.push_back(store.top);
    }
    return tops;
}

std::shared_ptr<OlFolder> IcalCatalog::DefaultFolder(int folder_type) {
    EnsureLoaded();
    std::lock_guard lock(mutex_);
    if (folder_type == kDefaultFolderInbox) {
        if (!inbox_ && sources_.make_inbox) {
            inbox_ = sources_.make_inbox();
        }
        if (!inbox_) {
            auto empty = std::make_shared<IcalFolder>(std::string(), StableHexId("inbox", "empty"),
                                                      StableHexId("store", "inbox"), kItemTypeMail,
                                                      std::weak_ptr<IcalFolder>(), OpenPath());
            empty->SetName("Posteingang");
            inbox_ = std::move(empty);
        }
        return inbox_;
    }
    if (folder_type != kDefaultFolderCalendar) {
        return nullptr;
    }
    if (!sources_.default_calendar.empty()) {
        const auto chosen = collections_.find(CanonicalPath(sources_.default_calendar));
        if (chosen != collections_.end() && chosen->second.present) {
            return chosen->second.folder;
        }
    }
    for (const std::string& path : collection_order_) {
        const Collection& collection = collections_.at(path);
        if (collection.folder->DefaultItemType() == kItemTypeAppointment) {
            return collection.folder;
        }
    }
    return nullptr;
}

std::shared_ptr<OlFolder> IcalCatalog::FolderFromID(const std::string& entry_id,
                                                    const std::string& store_id) {
    EnsureLoaded();
    {
        std::lock_guard lock(mutex_);
        const auto in_store = [&](const OlFolder& folder) {
            return store_id.empty() || folder.StoreID() == store_id;
        };
        for (const Store& store : stores_) {
            if (store.top->EntryID() == entry_id && in_store(*store.top)) {
                return store.top;
            }
        }
        for (const auto& [path, folder] : folders_) {
            if (folder->EntryID() == entry_id && in_store(*folder)) {
                return folder;
            }
        }
    }
    const std::shared_ptr<OlFolder> inbox = DefaultFolder(kDefaultFolderInbox);
    if (inbox && inbox->EntryID() == entry_id &&
        (store_id.empty() || inbox->StoreID() == store_id)) {
        return inbox;
    }
    throw OutlookError("GetFolderFromID", "no folder has the EntryID " + entry_id);
}

std::shared_ptr<OlItem> IcalCatalog::ItemFromID(const std::string& entry_id,
                                                const std::string& store_id) {
    EnsureLoaded();
    std::lock_guard lock(mutex_);
    for (const std::string& path : collection_order_) {
        const Collection& collection = collections_.at(path);
        if (!store_id.empty() && collection.folder->StoreID() != store_id) {
            continue;
        }
        const auto snapshot = collection.folder->Snapshot();
        const auto found = snapshot->by_entry_id.find(entry_id);
        if (found != snapshot->by_entry_id.end()) {
            return collection.folder->ItemObject(snapshot->listing[found->second]);
        }
    }
    throw OutlookError("GetItemFromID", "no item has the EntryID " + entry_id);
}

}  // namespace planwarte
