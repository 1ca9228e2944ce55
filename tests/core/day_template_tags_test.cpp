#include "core/page/day_template_tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/page/month_body_tags.h"
#include "core/page_fixture.h"

namespace planwarte {
namespace {

using testing_support::PageFixture;

// Month cells of December 2004 (the page starts on Monday, 29 November), built on Wednesday,
// 8 December. A cell shows the day of the DAY tag that expanded it.
class DayTemplateTagsTest : public PageFixture {
  protected:
    void SetUp() override {
        SetInteger("VORLAGE", 0);
        SetInteger("FontSize", 9);
        SetInteger("vorHeute", 0);
        SetInteger("BackgroundColorDays", 0xCCBBAA);
        SetInteger("BackgroundColorDaysTransparent", 0);
        SetInteger("BackgroundColorTodayTransparent", 1);
        PrepareBuild(Today());
    }
};

TEST_F(DayTemplateTagsTest, CellsShowTheDayOfTheirMonthTag) {
    // A DATEOFFSET inside the cell template changes nothing: the cell keeps its day.
    AddTemplate(context.templates.tag,
                "<#DAY DATEOFFSET=1>/<#DAYOFWEEK>/<#FONTDATECOLOR>/<#BGCOLORDAY>/<#DAYTEXT>/"
                "<#FONTCOLOR>/<#FONTSIZE>/<#HOME><#NOSUCHTAG>");
    struct Case {
        int offset;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {8, "7/Dienstag/#000000/bgcolor=#AABBCC//#000000/9/Heute"},
        {9, "8/<b>Mittwoch</b>/#000000//[text 8.12.]/#000000/9/Heute"},
        {12, "11/Samstag/#FF0000/bgcolor=#AABBCC/[text 11.12.]/#000000/9/Heute"},
    };
    const TagHandler month = MonthBodyTags(context);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(Expand("<#DAY DATEOFFSET=" + std::to_string(c.offset) + ">", month), c.expected);
    }
}

TEST_F(DayTemplateTagsTest, MonthBodyTagsAreNotCellTags) {
    context.day_offset = 9;
    EXPECT_EQ(Expand("<#MONTH>|<#WD1>|<#WIDTH>|<#DAY>", DayTemplateTags(context)), "|||8");
}

}  // namespace
}  // namespace planwarte
