#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace planwarte {

// The text of an INI file, read as the Windows profile functions read it: section and key
// names compare without regard to letter case, the first occurrence of a key wins (a section
// written twice is read as one), names and values are trimmed, a value enclosed in a pair of
// quotes loses them, lines starting with ';' are comments, lines end with CR LF or LF, and a
// UTF-8 byte order mark at the start is skipped. Lines without '=' and keys before the first
// section are ignored.
class IniFile {
  public:
    IniFile() = default;
    explicit IniFile(std::string_view text);

    // Section names as first written, in file order, each once.
    std::vector<std::string> SectionNames() const;
    // Key names of a section as first written, in file order, each once; empty when the
    // section is absent.
    std::vector<std::string> Keys(std::string_view section) const;
    // The value of a key; fallback when the section or the key is absent. A key written
    // with nothing after "=" gives the empty text, not the fallback.
    std::string Value(std::string_view section, std::string_view key,
                      std::string_view fallback) const;
    bool HasSection(std::string_view section) const;

  private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    const Section* FindSection(std::string_view name) const;
    Section& SectionNamed(std::string_view name);

    std::vector<Section> sections_;
};

}  // namespace planwarte
