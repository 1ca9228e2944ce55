#include "core/page/page_renderer.h"

#include "core/app/clock.h"
#include "core/app/file_system.h"
#include "core/common/string_table.h"
#include "core/page/body_template.h"
#include "core/page/main_page_tags.h"
#include "core/page/template_expander.h"

namespace planwarte {

namespace {

bool IsWeekLikeView(int view_kind) {
    return view_kind >= static_cast<int>(ViewKind::kWeek) &&
           view_kind <= static_cast<int>(ViewKind::kThreeWeeks);
}

}  // namespace

std::string RenderCalendarPage(PageContext& context, DateTime build_date) {
    context.values = ReadPageValues(context.settings);
    context.now = context.clock.Now();
    context.layout = LayoutView(context.values.view_kind, build_date, context.values.first_weekday);
    if (IsWeekLikeView(context.values.view_kind) &&
        !context.files.FileExists(BodyTemplatePath(context.templates, context.layout.body))) {
        throw MissingBodyTemplate(LoadStr(msg::kDesignIncomplete));
    }
    return WithCrLfLineEnds(
        ExpandTemplate(context.files, context.templates.haupt, MainPageTags(context)));
}

std::string WithCrLfLineEnds(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            result.append(text, start, std::string::npos);
            result += "\r\n";
            break;
        }
        result.append(text, start, end - start);
        result += "\r\n";
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return result;
}

}  // namespace planwarte
