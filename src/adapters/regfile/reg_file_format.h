#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planwarte {

enum class RegValueType { kDword, kString, kOther };

// One value line of a registry export.
struct RegValue {
    std::string name;  // the empty name is the key's default value, written as @
    RegValueType type = RegValueType::kString;
    std::uint32_t dword = 0;
    // kString: the text. kOther (hex:, hex(2):, ...): everything after "=" as read, blanks at
    // line ends left out and continuation lines joined with "\n", so such a value is written
    // back unchanged.
    std::string data;
};

// One "[...]" section: the key's full path, hive included, as first written.
struct RegKey {
    std::string path;
    std::vector<RegValue> values;
};

// The contents of a registry export: keys in file order, values in key order. Paths and names
// compare without regard to letter case; a key exists when it has a section or a sub-key has.
class RegDocument {
  public:
    const std::vector<RegKey>& keys() const { return keys_; }

    const RegKey* FindKey(std::string_view path) const;
    bool KeyExists(std::string_view path) const;
    // The existing key, or a new empty section placed after its parent's last sub-key.
    RegKey& AddKey(std::string_view path);
    // Removes the key with all its sub-keys.
    void RemoveKey(std::string_view path);
    // Names of the direct sub-keys, as first written, in file order.
    std::vector<std::string> SubKeyNames(std::string_view path) const;

  private:
    std::vector<RegKey> keys_;
};

const RegValue* FindValue(const RegKey& key, std::string_view name);
// Adds the value or replaces it in place; a replaced value keeps the name it was written with.
void PutValue(RegKey& key, RegValue value);

// A line of an export that could not be read and was left out of the document.
struct RegUnreadableLine {
    std::size_t line = 0;  // counted from 1
    std::string reason;
};

struct RegParseResult {
    std::optional<RegDocument> document;  // empty when the text is not a registry export
    std::string error;                    // why it is not one
    // The lines left out of the document, in file order; the rest of the file is read.
    std::vector<RegUnreadableLine> unreadable;
};

// Reads a version 5 or REGEDIT4 export in any encoding DecodeRegFileText accepts, with CRLF
// or LF line ends; blanks and carriage returns at a line's end do not count. "[-KEY]" and
// "name"=- lines delete as they would on import. As on import, a line that cannot be read
// costs only itself: a value line with its continuation lines, or a key line with the values
// under it, which have no key to go to. Only a text without an export header is refused.
RegParseResult ParseRegFile(std::string_view bytes);

// "line 5: bad dword value".
std::string DescribeUnreadableLine(const RegUnreadableLine& line);

// The version 5 export as UTF-8 with CRLF line ends, as the registry editor lays it out.
std::string FormatRegFile(const RegDocument& document);

}  // namespace planwarte
