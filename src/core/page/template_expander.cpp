#include "core/page/template_expander.h"

#include "core/app/file_system.h"
#include "core/page/tag_parameter_parser.h"

namespace planwarte {

namespace {

// Templates are read in blocks of 4096 bytes that must each hold a line end, so a line may
// have at most 4095 bytes besides its line end. The last line counts too: without a line end
// it is cut off by the end of the file only when it is shorter than a block.
constexpr std::size_t kLongestLine = 4095;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsNameStart(char c) {
    return IsLetter(c) || c == '_';
}
bool IsNamePart(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

void RejectOverlongLines(std::string_view text) {
    int line = 1;
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            ++line;
            length = 0;
        } else if (++length > kLongestLine) {
            throw TemplateError("Zeile zu lang in Zeile " + std::to_string(line));
        }
    }
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

// The end of the tag name that starts at pos: an identifier, or else the single character
// there. A ">" right away is the tag's end, so "<#>" is a tag without a name rather than one
// that swallows the text up to the next ">".
std::size_t EndOfTagName(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || text[pos] == '>') {
        return pos;
    }
    if (!IsNameStart(text[pos])) {
        return pos + 1;
    }
    while (pos < text.size() && IsNamePart(text[pos])) {
        ++pos;
    }
    return pos;
}

}  // namespace

std::string ExpandTemplateText(std::string_view text, const TagHandler& handler) {
    RejectOverlongLines(text);
    std::string output;
    output.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('<', pos);
        if (open == std::string_view::npos) {
            output.append(text.substr(pos));
            break;
        }
        output.append(text.substr(pos, open - pos));
        // Blanks after "<" are dropped whether or not a tag follows.
        pos = SkipBlanks(text, open + 1);
        if (pos >= text.size() || text[pos] != '#') {
            output += '<';
            continue;
        }
        const std::size_t name_start = SkipBlanks(text, pos + 1);
        const std::size_t name_end = EndOfTagName(text, name_start);
        // Quotes do not protect a ">"; a tag left open takes the rest of the text.
        const std::size_t close = text.find('>', name_end);
        const std::string_view parameter_text = text.substr(
            name_end, close == std::string_view::npos ? std::string_view::npos : close - name_end);
        pos = close == std::string_view::npos ? text.size() : close + 1;
        output += handler(std::string(text.substr(name_start, name_end - name_start)),
                          TagParameters(SplitTagParameters(parameter_text)));
    }
    return output;
}

std::string ExpandTemplate(const FileSystem& files, const std::string& path,
                           const TagHandler& handler) {
    const std::optional<std::string> text = files.ReadFile(path);
    if (!text) {
        throw TemplateError("Datei " + path + " kann nicht geöffnet werden");
    }
    return ExpandTemplateText(*text, handler);
}

}  // namespace planwarte
