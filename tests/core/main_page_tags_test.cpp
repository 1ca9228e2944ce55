#include "core/page/main_page_tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/page/page_renderer.h"
#include "core/page_fixture.h"

namespace planwarte {
namespace {

using testing_support::PageFixture;

class MainPageTagsTest : public PageFixture {};

TEST_F(MainPageTagsTest, PageSettingsWindowAndScreen) {
    SetInteger("FontSize", 10);
    SetInteger("FontColor", 0x0000FF);
    SetString("Font", "Verdana");
    PrepareBuild(Today());
    struct Case {
        std::string tag;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"FONTSIZE", "10"},      {"fontsize", ""},  // names are compared with their case
        {"FONT", "Verdana"},     {"FONTCOLOR", "#FF0000"}, {"INFOCOLOR", "#FFFFE1"},
        {"SCREENWIDTH", "1024"}, {"SCREENHEIGHT", "748"},  {"KALX", "0"},
        {"KALY", "5"},           {"KALW", "790"},          {"KALH", "560"},
        {"NOSUCHTAG", ""},
    };
    const TagHandler handler = MainPageTags(context);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        EXPECT_EQ(Expand("<#" + c.tag + ">", handler), c.expected);
    }
}

TEST_F(MainPageTagsTest, BackgroundIsTheWindowColour) {
    PrepareBuild(Today());
    const TagHandler handler = MainPageTags(context);
    context.window_frame_shown = false;
    EXPECT_EQ(Expand("<#BGCOLOR>", handler), "#080000");  // the transparent key colour
    context.window_frame_shown = true;
    EXPECT_EQ(Expand("<#BGCOLOR>", handler), "#FFFFFF");
}

TEST_F(MainPageTagsTest, FontFaceIsEscapedForThePage) {
    SetString("Font", "Arial'; color:red; x:'<b>&");
    PrepareBuild(Today());
    EXPECT_EQ(Expand("<#FONT>", MainPageTags(context)),
              "Arial&#39;; color:red; x:&#39;&lt;b&gt;&amp;");
}

TEST_F(MainPageTagsTest, CalendarBoxFollowsTheWindowAtEveryTag) {
    PrepareBuild(Today());
    const TagHandler handler = MainPageTags(context);
    EXPECT_EQ(Expand("<#KALW>x<#KALH>", handler), "790x560");
    context.window = {300, 400};
    EXPECT_EQ(Expand("<#NOSUCHTAG>", handler), "");
    EXPECT_EQ(context.kal_w, 290);
    EXPECT_EQ(context.kal_h, 360);
}

// KALENDER takes the month body for the month view, else the view's own body.
TEST_F(MainPageTagsTest, CalendarTagExpandsTheViewsBody) {
    const TemplateSet& templates = context.templates;
    AddTemplate(templates.haupt, "<#KALENDER>");
    AddTemplate(templates.monat, "month");
    AddTemplate(templates.woche, "week");
    AddTemplate(templates.xtage, "x days");
    AddTemplate(templates.heute, "today");
    AddTemplate(templates.zwei_wochen, "two weeks");
    AddTemplate(templates.drei_wochen, "three weeks");
    struct Case {
        int view_kind;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {0, "month\r\n"}, {1, "week\r\n"},      {2, "x days\r\n"},
        {3, "today\r\n"}, {4, "two weeks\r\n"}, {5, "three weeks\r\n"},
        {6, ""},  // a view the program does not know has an empty body
        {-1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view_kind);
        SetInteger("VORLAGE", c.view_kind);
        EXPECT_EQ(RenderCalendarPage(context, Today()), c.expected);
    }
}

}  // namespace
}  // namespace planwarte
