#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "adapters/ical/collection_layout.h"
#include "adapters/ical/ical_folder.h"
#include "adapters/ical/ical_sources.h"

// The stores, folders and items of the sources, with an index of every file read (its time,
// size and what it held), so that a re-reading parses only what changed. Shared by every
// application of a factory; the lookups are safe from any thread.
namespace planwarte {

// What tells a file's versions apart: a rename over it changes the inode, a rewrite the time
// or the size.
struct FileStamp {
    bool ok = false;
    long long modified_ns = 0;
    long long size = 0;
    unsigned long long inode = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

class IcalCatalog {
  public:
    explicit IcalCatalog(IcalSources sources);

    // Reads everything the first time; later calls do nothing.
    void EnsureLoaded();
    // Re-reads changed, new and removed files and collections, then fires the item events.
    void Refresh();
    std::vector<std::string> WatchedPaths() const;

    std::vector<std::shared_ptr<IcalFolder>> StoreFolders() const;
    // Null when there is no such folder.
    std::shared_ptr<OlFolder> DefaultFolder(int folder_type);
    // Throw OutlookError naming the call when the ID names nothing (in that store).
    std::shared_ptr<OlFolder> FolderFromID(const std::string& entry_id,
                                           const std::string& store_id);
    std::shared_ptr<OlItem> ItemFromID(const std::string& entry_id, const std::string& store_id);

  private:
    struct FileEntry {
        long long modified_ns = -1;  // -1: read again next time
        long long size = -1;
        unsigned long long inode = 0;
        std::vector<std::shared_ptr<const ItemRecord>> records;
    };
    struct Collection {
        std::shared_ptr<IcalFolder> folder;
        std::map<std::string, FileEntry> files;
        bool present = false;
        bool read_once = false;  // since it (re)appeared
    };
    struct Store {
        std::string root;
        std::shared_ptr<IcalFolder> top;
        bool known_collection = false;
    };
    enum class EventKind { Add, Change, Remove };
    struct PendingEvent {
        std::shared_ptr<IcalFolder> folder;
        EventKind kind;
        std::shared_ptr<const ItemRecord> record;
    };

    void Scan(std::vector<PendingEvent>* events);
    std::vector<std::shared_ptr<IcalFolder>> PlaceFolders(const std::vector<FolderLayout>& layouts,
                                                          const std::shared_ptr<IcalFolder>& parent,
                                                          std::vector<PendingEvent>* events);
    void ReadCollection(Collection& collection, std::vector<PendingEvent>* events);
    void ReadFile(const std::string& collection_path, const std::string& file,
                  const FileStamp& before, FileEntry& entry);
    void Retire(Collection& collection, std::vector<PendingEvent>* events);
    void Trace(const std::string& line) const;

    const IcalSources sources_;
    mutable std::mutex mutex_;
    bool loaded_ = false;
    std::vector<Store> stores_;
    std::map<std::string, Collection> collections_;               // by path
    std::map<std::string, std::shared_ptr<IcalFolder>> folders_;  // every folder, by path
    std::vector<std::string> collection_order_;                   // depth first
    std::shared_ptr<OlFolder> inbox_;
};

}  // namespace planwarte
