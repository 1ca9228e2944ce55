#include "adapters/ical/collection_layout.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "core/common/utf8.h"

namespace planwarte {

namespace fs = std::filesystem;

namespace {

// Deeper folders are not looked into: a store is a few levels at most, and a link loop
// must not make the scan endless.
constexpr int kMaxDepth = 6;

bool IsHidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name.front() == '.';
}

bool HasIcsExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".ics";
}

std::string WholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Radicale marks its collections with a "tag" in the props; a user's folder has none.
std::string PropsTag(const fs::path& folder) {
    std::error_code error;
    if (!fs::exists(folder / ".Radicale.props", error)) {
        return std::string();
    }
    if (auto values = ReadFlatJsonObject(WholeFile(folder / ".Radicale.props"))) {
        for (const auto& [key, value] : *values) {
            if (key == "tag") {
                return value;
            }
        }
    }
    return std::string();
}

enum class FolderKind { Collection, Holder, AddressBook };

// An empty folder is an empty collection, except a store's root: that is an empty store.
FolderKind KindOf(const fs::path& folder, bool empty_is_collection = true) {
    std::error_code error;
    bool has_items = false;
    bool has_cards = false;
    bool has_subfolders = false;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        std::error_code status_error;
        if (IsHidden(path)) {
            continue;
        }
        if (it->is_directory(status_error)) {
            has_subfolders = true;
        } else if (HasIcsExtension(path)) {
            has_items = true;
        } else if (path.extension() == ".vcf") {
            has_cards = true;
        }
    }
    const std::string tag = PropsTag(folder);
    if (tag == "VADDRESSBOOK" || (has_cards && !has_items)) {
        return FolderKind::AddressBook;
    }
    const bool has_meta = tag == "VCALENDAR" || fs::exists(folder / "displayname", error) ||
                          fs::exists(folder / "color", error);
    const bool empty_collection = empty_is_collection && !has_subfolders;
    return has_items || has_meta || empty_collection ? FolderKind::Collection : FolderKind::Holder;
}

std::vector<fs::path> Subfolders(const fs::path& folder) {
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code status_error;
        if (it->is_directory(status_error) && !IsHidden(it->path())) {
            folders.push_back(it->path());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::vector<FolderLayout> LayoutsBelow(const fs::path& folder, int depth) {
    std::vector<FolderLayout> layouts;
    for (const fs::path& child : Subfolders(folder)) {
        const FolderKind kind = KindOf(child);
        if (kind == FolderKind::AddressBook) {
            continue;
        }
        FolderLayout layout;
        layout.path = child.string();
        layout.is_collection = kind == FolderKind::Collection || depth >= kMaxDepth;
        if (!layout.is_collection) {
            layout.children = LayoutsBelow(child, depth + 1);
        }
        layouts.push_back(std::move(layout));
    }
    return layouts;
}

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::getline(in, line);
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

class FlatJsonReader {
  public:
    explicit FlatJsonReader(const std::string& text) : text_(text) {}

    std::optional<std::vector<std::pair<std::string, std::string>>> Object() {
        std::vector<std::pair<std::string, std::string>> values;
        SkipSpace();
        if (!Take('{')) {
            return std::nullopt;
        }
        SkipSpace();
        if (Take('}')) {
            return values;
        }
        for (;;) {
            SkipSpace();
            std::optional<std::string> key = String();
            SkipSpace();
            if (!key || !Take(':')) {
                return std::nullopt;
            }
            SkipSpace();
            std::optional<std::string> value = String();
            if (!value) {
                return std::nullopt;  // the props hold text values only
            }
            values.emplace_back(std::move(*key), std::move(*value));
            SkipSpace();
            if (Take('}')) {
                return values;
            }
            if (!Take(',')) {
                return std::nullopt;
            }
        }
    }

  private:
    void SkipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
    }
    bool Take(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::optional<std::string> String() {
        if (!Take('"')) {
            return std::nullopt;
        }
        std::string value;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') {
                return value;
            }
            if (c != '\\') {
                value += c;
                continue;
            }
            if (pos_ >= text_.size()) {
                return std::nullopt;
            }
            const char escaped = text_[pos_++];
            switch (escaped) {
                case 'n':
                    value += '\n';
                    break;
                case 't':
                    value += '\t';
                    break;
                case 'r':
                    value += '\r';
                    break;
                case 'b':
                    value += '\b';
                    break;
                case 'f':
                    value += '\f';
                    break;
                case 'u': {
                    if (pos_ + 4 > text_.size()) {
                        return std::nullopt;
                    }
                    unsigned int code = 0;
                    for (int i = 0; i < 4; ++i) {
                        const char h = text_[pos_++];
                        code <<= 4;
                        if (h >= '0' && h <= '9') {
                            code |= static_cast<unsigned int>(h - '0');
                        } else if (h >= 'a' && h <= 'f') {
                            code |= static_cast<unsigned int>(h - 'a' + 10);
                        } else if (h >= 'A' && h <= 'F') {
                            code |= static_cast<unsigned int>(h - 'A' + 10);
                        } else {
                            return std::nullopt;
                        }
                    }
                    AppendUtf8(value, code);
                    break;
                }
                default:
                    value += escaped;  // \" \\ \/
            }
        }
        return std::nullopt;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<FolderLayout> StoreLayout(const std::string& root, bool known_collection) {
    std::error_code error;
    if (!fs::is_directory(root, error)) {
        return {};
    }
    const FolderKind kind = KindOf(root, known_collection);
    if (kind == FolderKind::AddressBook) {
        return {};
    }
    if (kind == FolderKind::Collection) {
        return {FolderLayout{root, true, {}}};
    }
    return LayoutsBelow(root, 1);
}

CollectionMeta ReadCollectionMeta(const std::string& path) {
    CollectionMeta meta;
    const fs::path folder(path);
    std::error_code error;
    if (fs::exists(folder / ".Radicale.props", error)) {
        if (auto values = ReadFlatJsonObject(WholeFile(folder / ".Radicale.props"))) {
            for (const auto& [key, value] : *values) {
                if (key == "D:displayname") {
                    meta.name = value;
                } else if (key == "C:supported-calendar-component-set") {
                    meta.components = value;
                }
            }
        }
    }
    if (fs::exists(folder / "displayname", error)) {
        const std::string name = FirstLine(folder / "displayname");
        if (!name.empty()) {
            meta.name = name;
        }
    }
    if (meta.name.empty()) {
        meta.name = folder.filename().string();
    }
    return meta;
}

std::vector<std::string> CalendarFiles(const std::string& collection) {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(collection, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code status_error;
        if (it->is_regular_file(status_error) && HasIcsExtension(it->path()) &&
            !IsHidden(it->path())) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<std::vector<std::pair<std::string, std::string>>> ReadFlatJsonObject(
    const std::string& text) {
    return FlatJsonReader(text).Object();
}

}  // namespace planwarte
