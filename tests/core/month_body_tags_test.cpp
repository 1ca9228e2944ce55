#include "core/page/month_body_tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/page/page_renderer.h"
#include "core/page_fixture.h"

namespace planwarte {
namespace {

using testing_support::PageFixture;

constexpr std::int32_t kDayColor = 0xCCBBAA;    // #AABBCC
constexpr std::int32_t kTodayColor = 0x332211;  // #112233

struct TagCase {
    std::string text;
    std::string expected;
};

// The month view built on Wednesday, 8 December 2004; with Monday first the page starts on
// Monday, 29 November.
class MonthBodyTagsTest : public PageFixture {
  protected:
    void SetUp() override { SetInteger("VORLAGE", 0); }
    void Build() { PrepareBuild(Today()); }
    void ExpectExpansions(const std::vector<TagCase>& cases) {
        const TagHandler handler = MonthBodyTags(context);
        for (const TagCase& c : cases) {
            SCOPED_TRACE(c.text);
            EXPECT_EQ(Expand(c.text, handler), c.expected);
        }
    }
};

TEST_F(MonthBodyTagsTest, WeekdayHeadersStartWithTheFirstDayOfTheWeek) {
    struct Case {
        int first_day_of_week;  // 0 Monday .. 6 Sunday
        std::string expected;
    };
    const std::vector<Case> cases = {
        {0, "Montag Dienstag Mittwoch Donnerstag Freitag Samstag Sonntag"},
        {6, "Sonntag Montag Dienstag Mittwoch Donnerstag Freitag Samstag"},
        {2, "Mittwoch Donnerstag Freitag Samstag Sonntag Montag Dienstag"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first_day_of_week);
        SetInteger("FirstDayOfWeek", c.first_day_of_week);
        Build();
        EXPECT_EQ(
            Expand("<#WD1> <#WD2> <#WD3> <#WD4> <#WD5> <#WD6> <#WD7>", MonthBodyTags(context)),
            c.expected);
    }
    ExpectExpansions({{"<#WD0>", ""}, {"<#WD8>", ""}, {"<#WD11>", ""}, {"<#wd1>", ""}});
}

TEST_F(MonthBodyTagsTest, MonthNamesAndCurrentDate) {
    Build();
    ExpectExpansions({
        {"<#MONTH>", "Dezember 2004"},
        {"<#MONTHTEXT>", "November"},  // the month of the first shown day
        {"<#DATUM DATEOFFSET=20>", "Mittwoch, der 8 Dezember 2004"},
        {"<#FONTCOLOR>", "#000000"},
        {"<#NOSUCHTAG>", ""},
    });
}

TEST_F(MonthBodyTagsTest, CellWidthFromTheCalendarBox) {
    Build();
    struct Case {
        int box_width;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {790, "108"}, {34, "0"}, {0, "-4"}, {-5, "-4"},  // truncated toward zero
        {-7, "-5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box_width);
        context.kal_w = static_cast<std::int16_t>(c.box_width);
        EXPECT_EQ(Expand("<#WIDTH>", MonthBodyTags(context)), c.expected);
    }
}

TEST_F(MonthBodyTagsTest, WeekendColourByTheTagsDay) {
    SetInteger("FontColor", 0x00FF00);
    Build();
    ExpectExpansions({
        {"<#FONTDATECOLOR DATEOFFSET=0>", "#00FF00"},  // Monday, 29 November
        {"<#FONTDATECOLOR DATEOFFSET=5>", "#FF0000"},  // Saturday, 4 December
        {"<#FONTDATECOLOR DATEOFFSET=6>", "#FF0000"},  // Sunday
        {"<#FONTDATECOLOR>", "#FF0000"},               // no offset: Sunday, 28 November
    });
}

TEST_F(MonthBodyTagsTest, BackgroundMarksTodaysWeekday) {
    SetInteger("BackgroundColorDays", kDayColor);
    SetInteger("BackgroundColorDaysTransparent", 0);
    SetInteger("BackgroundColorToday", kTodayColor);
    SetInteger("BackgroundColorTodayTransparent", 0);
    Build();
    ExpectExpansions({
        {"<#BGCOLOR DATEOFFSET=9>", "bgcolor=#112233"},  // today
        {"<#BGCOLOR DATEOFFSET=2>", "bgcolor=#112233"},  // another Wednesday
        {"<#BGCOLOR DATEOFFSET=3>", "bgcolor=#AABBCC"},
        {"<#BGCOLOR>", "bgcolor=#AABBCC"},
    });
    SetInteger("BackgroundColorDaysTransparent", 1);
    Build();
    ExpectExpansions(
        {{"<#BGCOLOR DATEOFFSET=3>", ""}, {"<#BGCOLOR DATEOFFSET=2>", "bgcolor=#112233"}});
}

TEST_F(MonthBodyTagsTest, DayOnlyWithANumber) {
    AddTemplate(context.templates.tag, "<#DAY>");
    Build();
    ExpectExpansions({
        {"<#DAY>", ""},
        {"<#DAY DATEOFFSET=abc>", ""},
        {"<#DAY DATEOFFSET=\"3\">", "2"},
        {"<#DAY dateoffset=3>", "2"},
    });
}

// The whole month page with tiny templates: six rows of seven cells.
TEST_F(MonthBodyTagsTest, PageOfDecember2004) {
    std::string month = "<#MONTH>\n<#WD1>|<#WD2>|<#WD3>|<#WD4>|<#WD5>|<#WD6>|<#WD7>\n";
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 7; ++column) {
            month += (column == 0 ? "" : "|") + std::string("<#DAY DATEOFFSET=") +
                     std::to_string(row * 7 + column) + ">";
        }
        month += "\n";
    }
    AddTemplate(context.templates.haupt, "<html>\n<#KALENDER></html>\n");
    AddTemplate(context.templates.monat, month);
    AddTemplate(context.templates.tag, "<#DAY>");
    const std::string head =
        "<html>\r\nDezember "
        "2004\r\nMontag|Dienstag|Mittwoch|Donnerstag|Freitag|Samstag|Sonntag\r\n";
    const std::string middle =
        "6|7|8|9|10|11|12\r\n13|14|15|16|17|18|19\r\n20|21|22|23|24|25|26\r\n";
    struct Case {
        bool full_weeks;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {false, head + "||1|2|3|4|5\r\n" + middle + "27|28|29|30|31||\r\n||||||\r\n</html>\r\n"},
        // With full weeks even the sixth row of January days is filled: January's month
        // number is not greater than December's.
        {true, head + "29|30|1|2|3|4|5\r\n" + middle +
                   "27|28|29|30|31|1|2\r\n3|4|5|6|7|8|9\r\n</html>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.full_weeks);
        SetInteger("showFullWeeksInMonthView", c.full_weeks ? 1 : 0);
        EXPECT_EQ(RenderCalendarPage(context, Today()), c.expected);
    }
}

}  // namespace
}  // namespace planwarte
