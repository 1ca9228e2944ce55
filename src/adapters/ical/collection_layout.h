#pragma once

#include <optional>
#include <string>
#include <vector>

// How the folders of a store lie on disk: collections (a folder of .ics files, with an
// optional `displayname` file or Radicale's `.Radicale.props`), and folders that only hold
// other folders (as Radicale's per-user folders do).
namespace planwarte {

struct CollectionMeta {
    std::string name;  // from displayname, the props or the folder's name
    // The components the props declare ("VEVENT,VTODO"); empty when unknown.
    std::string components;
};

struct FolderLayout {
    std::string path;
    bool is_collection = false;
    std::vector<FolderLayout> children;  // folders below a folder that is no collection
};

// The folders below a store root; the root itself as its only folder when it is a
// collection. An empty root is an empty store, unless the root is known to be a collection (a
// calendar that a calendar tool made and that has no entry yet). Unreadable or vanished
// folders are left out.
std::vector<FolderLayout> StoreLayout(const std::string& root, bool known_collection = false);

CollectionMeta ReadCollectionMeta(const std::string& path);

// The .ics files of a collection folder, sorted by name.
std::vector<std::string> CalendarFiles(const std::string& collection);

// The text values of a flat JSON object, such as a .Radicale.props file; nullopt when the
// text is not one.
std::optional<std::vector<std::pair<std::string, std::string>>> ReadFlatJsonObject(
    const std::string& text);

}  // namespace planwarte
