#include "adapters/regfile/reg_file_format.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "adapters/regfile/text_encoding.h"
#include "core/settings/key_names.h"

namespace planwarte {

namespace {

constexpr std::string_view kHeaderVersion5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeaderVersion4 = "REGEDIT4";
constexpr std::string_view kWhitespace = " \t";
constexpr std::string_view kLineEndBlanks = " \t\r";

std::string JoinPath(const std::vector<std::string>& parts) {
    std::string path;
    for (const std::string& part : parts) {
        path += (path.empty() ? "" : "\\") + part;
    }
    return path;
}

std::string FoldedPath(std::string_view path) {
    return FoldCase(JoinPath(SplitKeyPath(path)));
}

bool IsSameOrUnder(std::string_view folded_key, std::string_view folded_target) {
    return folded_key.starts_with(folded_target) &&
           (folded_key.size() == folded_target.size() || folded_key[folded_target.size()] == '\\');
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kWhitespace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kWhitespace) - first + 1);
}

std::string_view TrimLeft(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kWhitespace);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        // Blanks and carriage returns at a line's end are no part of it: some editors and
        // scripts end lines with "\r\r\n" or leave blanks behind a value.
        line = line.substr(0, line.find_last_not_of(kLineEndBlanks) + 1);
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A quoted text starting at text[0] == '"'. On success `text` is left after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view& text) {
    std::string out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const char next = text[++i];
        switch (next) {
            case '\\':
            case '"':
                out += next;
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                // Not an escape this format knows: the backslash is part of the text.
                out += '\\';
                out += next;
        }
    }
    return std::nullopt;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::optional<std::uint32_t> ParseDword(std::string_view digits) {
    digits = Trim(digits);
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(), IsHexDigit)) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : digits) {
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

// "hex:", "hex(2):" ... followed by byte pairs and commas; the last line ends without "\".
bool IsHexData(std::string_view data) {
    std::size_t i = 3;  // after "hex"
    if (i < data.size() && data[i] == '(') {
        const std::size_t close = data.find(')', i);
        if (close == std::string_view::npos || close == i + 1 ||
            !std::all_of(data.begin() + i + 1, data.begin() + close, IsHexDigit)) {
            return false;
        }
        i = close + 1;
    }
    if (i >= data.size() || data[i] != ':') {
        return false;
    }
    for (const char c : data.substr(i + 1)) {
        if (!IsHexDigit(c) && c != ',' && c != ' ' && c != '\t' && c != '\\' && c != '\n') {
            return false;
        }
    }
    return true;
}

// Whether a line can only start something new, so it cannot continue a hex value.
bool StartsAnEntry(std::string_view trimmed) {
    return trimmed.empty() || trimmed.front() == '[' || trimmed.front() == '"' ||
           trimmed.front() == '@' || trimmed.front() == ';';
}

class Parser {
  public:
    explicit Parser(std::string_view text) : lines_(SplitLines(text)) {}

    RegParseResult Run() {
        while (next_ < lines_.size() && Trim(lines_[next_]).empty()) {
            ++next_;
        }
        if (next_ == lines_.size()) {
            return NotAnExport("no header line");
        }
        const std::string_view header = Trim(lines_[next_++]);
        if (header != kHeaderVersion5 && header != kHeaderVersion4) {
            return NotAnExport("no registry export header");
        }
        while (next_ < lines_.size()) {
            const std::size_t number = next_ + 1;
            const std::string_view line = Trim(lines_[next_++]);
            if (line.empty() || line.front() == ';') {
                continue;
            }
            bool read = false;
            if (line.front() == '[') {
                read = ParseSection(line, number);
            } else {
                std::string entry(line);
                read = JoinContinuation(entry) && ParseValue(entry);
            }
            if (!read) {
                if (next_ > number) {
                    error_ += " (continued to line " + std::to_string(next_) + ")";
                }
                unreadable_.push_back({number, std::move(error_)});
            }
        }
        return {std::move(document_), {}, std::move(unreadable_)};
    }

  private:
    RegParseResult NotAnExport(std::string_view what) const {
        return {std::nullopt, "line " + std::to_string(next_) + ": " + std::string(what), {}};
    }

    bool Error(std::string what) {
        error_ = std::move(what);
        return false;
    }

    // A value line ending in "\" goes on in the next lines, joined with "\n". A value
    // cut short (the file ends, or a blank, key, value or comment line comes) is unreadable;
    // the line that cut it is read on its own.
    bool JoinContinuation(std::string& entry) {
        std::string_view last = entry;
        while (Trim(last).ends_with('\\')) {
            if (next_ == lines_.size()) {
                return Error("continued value at the end of the file");
            }
            if (StartsAnEntry(Trim(lines_[next_]))) {
                return Error("continued value cut short by line " + std::to_string(next_ + 1));
            }
            last = lines_[next_++];
            entry += '\n';
            entry += last;
        }
        return true;
    }

    bool ParseSection(std::string_view line, std::size_t number) {
        // Until the next key line that can be read, values have no key to go to.
        key_ = std::nullopt;
        in_deleted_key_ = false;
        unreadable_key_line_ = number;
        if (line.size() < 3 || line.back() != ']') {
            return Error("bad key line");
        }
        std::string_view path = line.substr(1, line.size() - 2);
        const bool deletion = path.front() == '-';
        if (deletion) {
            path.remove_prefix(1);
        }
        if (SplitKeyPath(path).empty()) {
            return Error("empty key path");
        }
        unreadable_key_line_ = 0;
        if (deletion) {
            // Values listed under a deleted key are dropped, as an import would do.
            document_.RemoveKey(path);
            in_deleted_key_ = true;
        } else {
            key_ = std::string(path);
            document_.AddKey(path);
        }
        return true;
    }

    bool ParseValue(std::string_view line) {
        if (!key_ && !in_deleted_key_) {
            return Error(unreadable_key_line_ == 0 ? std::string("value outside a key")
                                                   : "value under the unreadable key line " +
                                                         std::to_string(unreadable_key_line_));
        }
        RegValue value;
        std::string_view rest = line;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else if (rest.front() == '"') {
            std::optional<std::string> name = ParseQuoted(rest);
            if (!name) {
                return Error("unterminated value name");
            }
            value.name = std::move(*name);
        } else {
            return Error("neither a key nor a value");
        }
        rest = TrimLeft(rest);
        if (!rest.starts_with('=')) {
            return Error("no \"=\" after the value name");
        }
        rest = TrimLeft(rest.substr(1));
        if (!ParseData(rest, value)) {
            return false;
        }
        if (in_deleted_key_) {
            return true;
        }
        RegKey& key = document_.AddKey(*key_);
        if (value_deleted_) {
            std::erase_if(key.values,
                          [&](const RegValue& old) { return SameName(old.name, value.name); });
        } else {
            PutValue(key, std::move(value));
        }
        return true;
    }

    bool ParseData(std::string_view data, RegValue& value) {
        value_deleted_ = false;
        if (Trim(data) == "-") {
            value_deleted_ = true;
            return true;
        }
        if (data.starts_with('"')) {
            std::optional<std::string> text = ParseQuoted(data);
            if (!text || !Trim(data).empty()) {
                return Error("bad text value");
            }
            value.type = RegValueType::kString;
            value.data = std::move(*text);
            return true;
        }
        if (StartsWithNoCase(data, "dword:")) {
            const std::optional<std::uint32_t> number = ParseDword(data.substr(6));
            if (!number) {
                return Error("bad dword value");
            }
            value.type = RegValueType::kDword;
            value.dword = *number;
            return true;
        }
        if (StartsWithNoCase(data, "hex")) {
            if (!IsHexData(data)) {
                return Error("bad hex value");
            }
            value.type = RegValueType::kOther;
            value.data = std::string(data);
            return true;
        }
        return Error("unknown value type");
    }

    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
    RegDocument document_;
    std::vector<RegUnreadableLine> unreadable_;
    std::optional<std::string> key_;  // the current section's path
    bool in_deleted_key_ = false;
    std::size_t unreadable_key_line_ = 0;  // the key line the values now read are under, if bad
    bool value_deleted_ = false;
    std::string error_;
};

}  // namespace

const RegKey* RegDocument::FindKey(std::string_view path) const {
    const std::string target = FoldedPath(path);
    const auto found = std::find_if(keys_.begin(), keys_.end(), [&](const RegKey& key) {
        return FoldedPath(key.path) == target;
    });
    return found == keys_.end() ? nullptr : &*found;
}

bool RegDocument::KeyExists(std::string_view path) const {
    const std::string target = FoldedPath(path);
    return std::any_of(keys_.begin(), keys_.end(), [&](const RegKey& key) {
        return IsSameOrUnder(FoldedPath(key.path), target);
    });
}

RegKey& RegDocument::AddKey(std::string_view path) {
    const std::string target = FoldedPath(path);
    for (RegKey& key : keys_) {
        if (FoldedPath(key.path) == target) {
            return key;
        }
    }
    // Keep the tree order of an export: the new section goes after the last section that lies
    // under its nearest existing ancestor, and the ancestor's part of the path keeps the letter
    // case it already has in the file.
    const std::vector<std::string> parts = SplitKeyPath(path);
    std::size_t position = keys_.size();
    std::string new_path = JoinPath(parts);
    for (std::size_t depth = parts.empty() ? 0 : parts.size() - 1; depth > 0; --depth) {
        const std::string ancestor =
            FoldCase(JoinPath({parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(depth)}));
        const auto last = std::find_if(keys_.rbegin(), keys_.rend(), [&](const RegKey& key) {
            return IsSameOrUnder(FoldedPath(key.path), ancestor);
        });
        if (last != keys_.rend()) {
            position = static_cast<std::size_t>(keys_.rend() - last);
            std::vector<std::string> written = SplitKeyPath(last->path);
            written.resize(depth);
            written.insert(written.end(), parts.begin() + static_cast<std::ptrdiff_t>(depth),
                           parts.end());
            new_path = JoinPath(written);
            break;
        }
    }
    return *keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(position),
                         RegKey{std::move(new_path), {}});
}

void RegDocument::RemoveKey(std::string_view path) {
    const std::string target = FoldedPath(path);
    std::erase_if(keys_,
                  [&](const RegKey& key) { return IsSameOrUnder(FoldedPath(key.path), target); });
}

std::vector<std::string> RegDocument::SubKeyNames(std::string_view path) const {
    const std::size_t depth = SplitKeyPath(path).size();
    const std::string target = FoldedPath(path);
    std::vector<std::string> names;
    for (const RegKey& key : keys_) {
        const std::vector<std::string> parts = SplitKeyPath(key.path);
        if (parts.size() <= depth || !IsSameOrUnder(FoldedPath(key.path), target)) {
            continue;
        }
        const std::string& name = parts[depth];
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::string& known) { return SameName(known, name); })) {
            names.push_back(name);
        }
    }
    return names;
}

const RegValue* FindValue(const RegKey& key, std::string_view name) {
    const auto found =
        std::find_if(key.values.begin(), key.values.end(),
                     [&](const RegValue& value) { return SameName(value.name, name); });
    return found == key.values.end() ? nullptr : &*found;
}

void PutValue(RegKey& key, RegValue value) {
    const auto found = std::find_if(key.values.begin(), key.values.end(), [&](const RegValue& old) {
        return SameName(old.name, value.name);
    });
    if (found == key.values.end()) {
        key.values.push_back(std::move(value));
    } else {
        value.name = found->name;
        *found = std::move(value);
    }
}

RegParseResult ParseRegFile(std::string_view bytes) {
    const std::optional<std::string> text = DecodeRegFileText(bytes);
    if (!text) {
        return {std::nullopt, "not a whole UTF-16 text", {}};
    }
    return Parser(*text).Run();
}

std::string DescribeUnreadableLine(const RegUnreadableLine& line) {
    return "line " + std::to_string(line.line) + ": " + line.reason;
}

std::string FormatRegFile(const RegDocument& document) {
    std::string out(kHeaderVersion5);
    out += "\r\n\r\n";
    for (const RegKey& key : document.keys()) {
        out += "[" + key.path + "]\r\n";
        for (const RegValue& value : key.values) {
            out += value.name.empty() ? "@" : Quote(value.name);
            out += '=';
            switch (value.type) {
                case RegValueType::kDword: {
                    char digits[16];
                    std::snprintf(digits, sizeof digits, "dword:%08x", value.dword);
                    out += digits;
                    break;
                }
                case RegValueType::kString:
                    out += Quote(value.data);
                    break;
                case RegValueType::kOther:
                    for (const char c : value.data) {
                        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
                    }
                    break;
            }
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace planwarte
