#include "core/page/item_text.h"

#include "core/outlook/object_model.h"
#include "core/page/html_text.h"

namespace planwarte {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string ImportancePicture(int importance) {
    switch (importance) {
        case kImportanceLow:
            return "low.gif";
        case kImportanceHigh:
            return "high.gif";
        default:
            return {};
    }
}

}  // namespace

std::string EntryText(int importance, std::string_view subject, std::int16_t font_size,
                      const std::string& template_folder) {
    std::string text;
    const std::string picture = ImportancePicture(importance);
    if (!picture.empty()) {
        text = "<img border=\"0\"  src=" + FileUrl(template_folder + picture) + " height=\"" +
               std::to_string(font_size) + "\" align=\"absmiddle\">";
    }
    return text + EscapeHtml(subject) + "<br>";
}

std::int16_t ReadableFontSize(std::int16_t size) {
    constexpr std::int16_t kSmallestReadable = 6;
    constexpr std::int16_t kCorrected = 8;
    return size < kSmallestReadable ? kCorrected : size;
}

std::string TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlankOrControl(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(0, end));
}

std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsBlankOrControl(text[begin])) {
        ++begin;
    }
    return TrimRight(text.substr(begin));
}

}  // namespace planwarte
