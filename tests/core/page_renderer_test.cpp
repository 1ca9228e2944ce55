#include "core/page/page_renderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/string_table.h"
#include "core/page_fixture.h"

namespace planwarte {
namespace {

using testing_support::PageFixture;

class PageRendererTest : public PageFixture {};

TEST_F(PageRendererTest, EveryLineEndsWithCrLf) {
    struct Case {
        const char* name;
        std::string haupt;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"LF lines", "a\nb\n", "a\r\nb\r\n"},
        {"CR LF lines", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"lone CR", "a\rb", "a\r\nb\r\n"},
        {"last line without end", "a\nb", "a\r\nb\r\n"},
        {"empty lines stay", "a\n\n\r\nb\n", "a\r\n\r\n\r\nb\r\n"},
        {"CR CR LF", "a\r\r\n", "a\r\n\r\n"},
        {"line breaks from tags count too", "<#KALENDER>x", "[all\r\ntasks]x\r\n"},
        {"no text", "", ""},
        {"only unknown tags", "<#NOSUCHTAG>", ""},
    };
    SetInteger("VORLAGE", 3);
    AddTemplate(context.templates.heute, "<#TASKS>");
    context.all_tasks = [] { return std::string("[all\ntasks]"); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AddTemplate(context.templates.haupt, c.haupt);
        EXPECT_EQ(RenderCalendarPage(context, Today()), c.expected);
    }
}

TEST_F(PageRendererTest, MissingBodyOfTheViewIsAnIncompleteDesign) {
    AddTemplate(context.templates.haupt, "<#KALENDER>");
    const std::vector<int> week_like_views = {1, 2, 3, 4, 5};
    for (const int view : week_like_views) {
        SCOPED_TRACE(view);
        SetInteger("VORLAGE", view);
        try {
            RenderCalendarPage(context, Today());
            ADD_FAILURE() << "built without a body";
        } catch (const MissingBodyTemplate& error) {
            EXPECT_EQ(error.what(), LoadStr(msg::kDesignIncomplete));
        }
    }
}

TEST_F(PageRendererTest, OtherViewsNeedNoBodyFile) {
    AddTemplate(context.templates.haupt, "[<#KALENDER>]");
    SetInteger("VORLAGE", 6);
    EXPECT_EQ(RenderCalendarPage(context, Today()), "[]\r\n");
    SetInteger("VORLAGE", 0);
    AddTemplate(context.templates.monat, "month");
    EXPECT_EQ(RenderCalendarPage(context, Today()), "[month]\r\n");
}

TEST_F(PageRendererTest, UnreadableTemplateIsATemplateError) {
    SetInteger("VORLAGE", 0);
    EXPECT_THROW(RenderCalendarPage(context, Today()), TemplateError);
    AddTemplate(context.templates.haupt, "<#KALENDER>");
    EXPECT_THROW(RenderCalendarPage(context, Today()), TemplateError);
}

TEST_F(PageRendererTest, FirstShownDayIsKeptForTheNavigation) {
    AddTemplate(context.templates.haupt, "");
    AddTemplate(context.templates.woche, "");
    struct Case {
        int view_kind;
        DateTime expected;
    };
    const std::vector<Case> cases = {
        {0, EncodeDate(2004, 11, 29)},
        {1, EncodeDateTime(2004, 12, 6, 9, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view_kind);
        SetInteger("VORLAGE", c.view_kind);
        RenderCalendarPage(context, Today());
        EXPECT_DOUBLE_EQ(context.layout.first_shown_day.value, c.expected.value);
        EXPECT_EQ(context.layout.displayed_month, 12);
    }
}

TEST_F(PageRendererTest, EachBuildReadsSettingsAndClockAfresh) {
    SetInteger("VORLAGE", 1);
    AddTemplate(context.templates.haupt, "<#FONTSIZE> <#ACT_DAY> <#KALENDER>");
    AddTemplate(context.templates.woche, "<#DAY>");
    EXPECT_EQ(RenderCalendarPage(context, Today()), "8 8 6\r\n");
    SetInteger("FontSize", 12);
    SetInteger("FirstDayOfWeek", 2);  // Wednesday
    clock.Advance(24 * 60 * 60 * 1000);
    EXPECT_EQ(RenderCalendarPage(context, Today()), "12 9 8\r\n");
}

TEST_F(PageRendererTest, TemplatesAreReadAtEveryBuild) {
    SetInteger("VORLAGE", 3);
    AddTemplate(context.templates.haupt, "<#KALENDER>");
    AddTemplate(context.templates.heute, "first");
    EXPECT_EQ(RenderCalendarPage(context, Today()), "first\r\n");
    AddTemplate(context.templates.heute, "edited");
    EXPECT_EQ(RenderCalendarPage(context, Today()), "edited\r\n");
}

}  // namespace
}  // namespace planwarte
