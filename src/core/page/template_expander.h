#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace planwarte {

class FileSystem;

// A template that cannot be expanded: unreadable file, or a line too long to be read.
class TemplateError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The parameters of one tag, "name=value" entries after decoding, in the order written.
class TagParameters {
  public:
    explicit TagParameters(std::vector<std::string> entries) : entries_(std::move(entries)) {}
    const std::vector<std::string>& Entries() const { return entries_; }
    // The text after "=" of the first entry whose name matches without regard to case;
    // empty when there is none.
    std::string Value(std::string_view name) const;
    // The value as an integer; fallback when absent or not an integer.
    int IntegerValue(std::string_view name, int fallback) const;

  private:
    std::vector<std::string> entries_;
};

// Answers one tag: the name exactly as written, its parameters; the returned text goes into
// the page as it is, without being scanned for tags again.
using TagHandler = std::function<std::string(const std::string& name, const TagParameters&)>;

// Expands template text: every <#NAME params> is replaced by the handler's answer.
// Throws TemplateError("Zeile zu lang in Zeile <n>") for a line longer than 4095 bytes.
std::string ExpandTemplateText(std::string_view text, const TagHandler& handler);

// Reads the template file afresh and expands it; throws TemplateError when it cannot be read.
std::string ExpandTemplate(const FileSystem& files, const std::string& path,
                           const TagHandler& handler);

}  // namespace planwarte
