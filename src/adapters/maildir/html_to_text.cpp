#include "adapters/maildir/html_to_text.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include "core/common/utf8.h"

namespace planwarte {

namespace {

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lowered;
}

// A reference to the character 0 stands for nothing readable.
void AppendReferenced(std::string& out, std::uint32_t code) {
    AppendUtf8(out, code == 0 ? char32_t{0xFFFD} : static_cast<char32_t>(code));
}

struct NamedReference {
    std::string_view name;
    std::uint32_t code;
};

constexpr std::array<NamedReference, 14> kNamedReferences{{
    {"amp", '&'},
    {"lt", '<'},
    {"gt", '>'},
    {"quot", '"'},
    {"apos", '\''},
    {"nbsp", 0xA0},
    {"auml", 0xE4},
    {"ouml", 0xF6},
    {"uuml", 0xFC},
    {"Auml", 0xC4},
    {"Ouml", 0xD6},
    {"Uuml", 0xDC},
    {"szlig", 0xDF},
    {"euro", 0x20AC},
}};

// Decodes the reference starting at text[pos] == '&'; answers the length consumed, 0 when
// it is no reference (the '&' then stays as it is).
std::size_t DecodeReference(std::string_view text, std::size_t pos, std::string& out) {
    const std::size_t end = text.find(';', pos + 1);
    if (end == std::string_view::npos || end - pos > 12) {
        return 0;
    }
    const std::string_view name = text.substr(pos + 1, end - pos - 1);
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) {
            return 0;
        }
        std::uint32_t code = 0;
        for (char c : digits) {
            const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                              : hex && std::isxdigit(static_cast<unsigned char>(c))
                                  ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                                  : -1;
            if (digit < 0) {
                return 0;
            }
            code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
            if (code > 0x10FFFF) {
                code = 0x110000;  // stays out of range, becomes the replacement character
            }
        }
        AppendReferenced(out, code);
        return end - pos + 1;
    }
    for (const NamedReference& reference : kNamedReferences) {
        if (reference.name == name) {
            AppendReferenced(out, reference.code);
            return end - pos + 1;
        }
    }
    return 0;
}

bool IsBlockTag(const std::string& tag) {
    static constexpr std::array<std::string_view, 12> kBlocks{
        "br", "p", "div", "tr", "li", "h1", "h2", "h3", "h4", "table", "blockquote", "hr"};
    for (std::string_view block : kBlocks) {
        if (tag == block) {
            return true;
        }
    }
    return false;
}

// The tag name of "<name ...>" or "</name>", lowered.
std::string TagName(std::string_view tag) {
    std::size_t pos = 1;
    if (pos < tag.size() && tag[pos] == '/') {
        ++pos;
    }
    std::size_t end = pos;
    while (end < tag.size() && std::isalnum(static_cast<unsigned char>(tag[end]))) {
        ++end;
    }
    return Lowered(tag.substr(pos, end - pos));
}

void AppendLineBreak(std::string& out) {
    if (!out.empty() && out.back() != '\n') {
        out += '\n';
    }
}

}  // namespace

std::string TextOfHtml(std::string_view html) {
    std::string out;
    bool space_pending = false;
    std::size_t pos = 0;
    while (pos < html.size()) {
        const char c = html[pos];
        if (c == '<') {
            if (html.substr(pos, 4) == "<!--") {
                const std::size_t end = html.find("-->", pos + 4);
                pos = end == std::string_view::npos ? html.size() : end + 3;
                continue;
            }
            const std::size_t end = html.find('>', pos);
            if (end == std::string_view::npos) {
                break;  // an unfinished tag at the end carries no text
            }
            const std::string_view tag = html.substr(pos, end - pos + 1);
            const std::string name = TagName(tag);
            pos = end + 1;
            const bool opening = tag[1] != '/' && tag[tag.size() - 2] != '/';
            if ((name == "script" || name == "style") && opening) {
                const std::string lowered = Lowered(html.substr(pos));
                const std::size_t close = lowered.find("</" + name);
                pos = close == std::string::npos ? html.size() : pos + close;
                continue;
            }
            if (IsBlockTag(name)) {
                AppendLineBreak(out);
                space_pending = false;
            }
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c))) {
            space_pending = true;
            ++pos;
            continue;
        }
        if (space_pending && !out.empty() && out.back() != '\n') {
            out += ' ';
        }
        space_pending = false;
        if (c == '&') {
            const std::size_t used = DecodeReference(html, pos, out);
            if (used > 0) {
                pos += used;
                continue;
            }
        }
        out += c;
        ++pos;
    }
    while (!out.empty() && out.back() == '\n') {
        out.pop_back();
    }
    return out;
}

}  // namespace planwarte
