#include "core/page/week_body_tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/page/month_body_tags.h"
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

void ExpectExpansions(const std::vector<TagCase>& cases, const TagHandler& handler) {
    for (const TagCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ExpandTemplateText(c.text, handler), c.expected);
    }
}

// The week view built on Wednesday, 8 December 2004: the page starts on Monday, 6 December.
class WeekBodyTagsTest : public PageFixture {
  protected:
    void Build() { PrepareBuild(Today()); }
    TagHandler Handler() { return WeekBodyTags(context); }
};

TEST_F(WeekBodyTagsTest, DateOffsetPicksTheDay) {
    Build();
    ExpectExpansions(
        {
            {"<#DAY>", "6"},
            {"<#DAY DATEOFFSET=3>", "9"},
            {"<#DAY DATEOFFSET=\"3\">", "9"},
            {"<#DAY dateoffset=3>", "9"},
            {"<#DAY DATEOFFSET=-1>", "5"},
            {"<#DAY DATEOFFSET=abc>", "6"},
            {"<#DAY DATEOFFSET=>", "6"},
            {"<#DAY DATEOFFSET=26>", "1"},        // into January
            {"<#DAY DATEOFFSET=40000>", "6"},     // beyond a 16-bit offset: no number
            {"<#DAY DATEOFFSET=3><#DAY>", "96"},  // each tag takes its own offset
        },
        Handler());
}

TEST_F(WeekBodyTagsTest, WeekdayNamesWithTodayInBold) {
    Build();
    ExpectExpansions(
        {
            {"<#DAYOFWEEK>", "Montag"},
            {"<#DAYOFWEEK DATEOFFSET=2>", "<b>Mittwoch</b>"},
            {"<#DAYOFWEEK DATEOFFSET=9>", "Mittwoch"},
        },
        Handler());
}

TEST_F(WeekBodyTagsTest, CurrentDateTagsIgnoreTheTagsDay) {
    Build();
    ExpectExpansions(
        {
            {"<#KW DATEOFFSET=20>", "KW: 50"},
            {"<#DATUM DATEOFFSET=20>", "Mittwoch, der 8 Dezember 2004"},
        },
        Handler());
}

TEST_F(WeekBodyTagsTest, CaptionsFontsAndTasks) {
    SetInteger("FontSize", 11);
    SetInteger("FontColor", 0x00FF00);
    Build();
    ExpectExpansions(
        {
            {"<#FONTCOLOR>", "#00FF00"},
            {"<#FONTSIZE>", "11"},
            {"<#CAPTIONTASKS>", "Aufgaben:"},
            {"<#CAPTIONAPPS>", "Termine:"},
            {"<#TASKS DATEOFFSET=3>", "[all tasks]"},
            {"<#NOSUCHTAG>", ""},
            {"<#daytext>", ""},
        },
        Handler());
}

TEST_F(WeekBodyTagsTest, WeekendDaysGetTheWeekendColour) {
    SetInteger("FontColor", 0x00FF00);
    Build();
    ExpectExpansions(
        {
            {"<#FONTDATECOLOR DATEOFFSET=4>", "#00FF00"},  // Friday
            {"<#FONTDATECOLOR DATEOFFSET=5>", "#FF0000"},  // Saturday, no colour stored
            {"<#FONTDATECOLOR DATEOFFSET=6>", "#FF0000"},  // Sunday
            {"<#FONTDATECOLOR DATEOFFSET=7>", "#00FF00"},  // Monday
        },
        Handler());
    SetInteger("WeekendColor", 0xFF0000);
    Build();
    EXPECT_EQ(Expand("<#FONTDATECOLOR DATEOFFSET=5>", Handler()), "#0000FF");
}

TEST_F(WeekBodyTagsTest, CellColoursWithATransparentToday) {
    SetInteger("BackgroundColorDays", kDayColor);
    SetInteger("BackgroundColorDaysTransparent", 0);
    SetInteger("BackgroundColorTodayTransparent", 1);
    SetInteger("BackgroundColorToday", kTodayColor);
    Build();
    ExpectExpansions(
        {
            {"<#BGCOLORDAY DATEOFFSET=2>", ""},
            {"<#BGCOLORDAY DATEOFFSET=1>", "bgcolor=#AABBCC"},
            {"<#BGCOLORDAY>", "bgcolor=#AABBCC"},
            {"<#DAYCOLOR DATEOFFSET=2>", ""},
            {"<#DAYCOLOR DATEOFFSET=3>", "#AABBCC"},
            {"<#BGCOLOR DATEOFFSET=2>", "#AABBCC"},
            {"<#BGCOLORHEADER DATEOFFSET=2>", "bgcolor=#AABBCC"},
        },
        Handler());
}

TEST_F(WeekBodyTagsTest, CellColoursWithColouredTodayAndTransparentDays) {
    SetInteger("BackgroundColorDays", kDayColor);
    SetInteger("BackgroundColorDaysTransparent", 1);
    SetInteger("BackgroundColorToday", kTodayColor);
    SetInteger("BackgroundColorTodayTransparent", 0);
    Build();
    ExpectExpansions(
        {
            {"<#BGCOLORDAY DATEOFFSET=2>", "bgcolor=#112233"},
            {"<#BGCOLORDAY DATEOFFSET=1>", ""},
            {"<#DAYCOLOR DATEOFFSET=2>", "#112233"},
            {"<#DAYCOLOR DATEOFFSET=1>", ""},
            {"<#BGCOLOR>", ""},
            {"<#BGCOLORHEADER>", ""},
        },
        Handler());
}

TEST_F(WeekBodyTagsTest, DayTextsAndTheDaysBeforeToday) {
    Build();
    const std::vector<TagCase> all_days = {
        {"<#DAYTEXT DATEOFFSET=1>", "[text 7.12.]"},
        {"<#DAYTEXT DATEOFFSET=2>", "[text 8.12.]"},
        {"<#DAYTEXT DATEOFFSET=-400>", "[text 2.11.]"},
    };
    ExpectExpansions(all_days, Handler());

    SetInteger("vorHeute", 0);
    Build();
    ExpectExpansions(
        {
            {"<#DAYTEXT DATEOFFSET=1>", ""},
            // Today counts from its midnight, though the page started at 9:00 on a Monday.
            {"<#DAYTEXT DATEOFFSET=2>", "[text 8.12.]"},
            {"<#DAYTEXT DATEOFFSET=3>", "[text 9.12.]"},
        },
        Handler());
}

// The x-days view on Wednesday, 8 December 2004, with day blocks that show their day.
class XDaysRunTest : public PageFixture {
  protected:
    void SetUp() override {
        SetInteger("VORLAGE", 2);
        AddTemplate(context.templates.xtagetag, "<#DAY>,");
    }
    std::string Run() {
        PrepareBuild(Today());
        return Expand("<#XTAGE>", WeekBodyTags(context));
    }
};

TEST_F(XDaysRunTest, DaysFromTheStoredRange) {
    SetInteger("xTage", 5);
    SetInteger("daysBack", 2);
    EXPECT_EQ(Run(), "6,7,8,9,10,11,12,");
}

TEST_F(XDaysRunTest, FallbacksOfTheRange) {
    struct Case {
        const char* name;
        bool set_x_days;
        int x_days;
        bool set_days_back;
        int days_back;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"nothing stored: five days", false, 0, false, 0, "8,9,10,11,12,"},
        {"no days back stored", true, 2, false, 0, "8,9,"},
        {"no xTage stored", false, 0, true, 1, "7,8,9,10,11,12,"},
        {"no days at all", true, 0, true, 0, ""},
        {"back past the end", true, -3, true, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettingsStore fresh;
        PageContext run_context{
            .files = files, .settings = fresh, .clock = clock, .templates = context.templates};
        fresh.SetInteger(kSettingsKeyPath, "VORLAGE", 2);
        if (c.set_x_days) {
            fresh.SetInteger(kSettingsKeyPath, "xTage", c.x_days);
        }
        if (c.set_days_back) {
            fresh.SetInteger(kSettingsKeyPath, "daysBack", c.days_back);
        }
        run_context.values = ReadPageValues(fresh);
        run_context.layout = LayoutView(2, Today(), run_context.values.first_weekday);
        EXPECT_EQ(Expand("<#XTAGE>", WeekBodyTags(run_context)), c.expected);
    }
}

TEST_F(XDaysRunTest, WithoutSettingsSixDaysAndTheKeyIsNotCreated) {
    MemorySettingsStore empty_store;
    context.layout = LayoutView(2, Today(), 2);
    PageContext run_context{.files = files,
                            .settings = empty_store,
                            .clock = clock,
                            .templates = context.templates,
                            .layout = context.layout};
    EXPECT_EQ(Expand("<#XTAGE>", WeekBodyTags(run_context)), "8,9,10,11,12,13,");
    EXPECT_FALSE(empty_store.HasKey(kSettingsKeyPath));
}

TEST_F(XDaysRunTest, DayBlocksSeeTheirOwnDay) {
    SetInteger("xTage", 3);
    SetInteger("daysBack", 1);
    SetInteger("vorHeute", 0);
    SetInteger("BackgroundColorToday", kTodayColor);
    SetInteger("BackgroundColorTodayTransparent", 0);
    AddTemplate(context.templates.xtagetag,
                "<#DAYOFWEEK DATEOFFSET=5>/<#DAY>/<#FONTDATECOLOR>/<#BGCOLORDAY>/<#DAYTEXT>\n");
    EXPECT_EQ(Run(),
              "Dienstag/7/#000000//\n"
              "<b>Mittwoch</b>/8/#000000/bgcolor=#112233/[text 8.12.]\n"
              "Donnerstag/9/#000000//[text 9.12.]\n"
              "Freitag/10/#000000//[text 10.12.]\n");
}

// The DAY tag means the day of month in a week body and the month cell in the month body.
TEST_F(WeekBodyTagsTest, DayWithoutANumberInWeekAndMonthBodies) {
    Build();
    EXPECT_EQ(Expand("<#DAY DATEOFFSET=abc>", WeekBodyTags(context)), "6");
    AddTemplate(context.templates.tag, "cell");
    EXPECT_EQ(Expand("<#DAY DATEOFFSET=abc>", MonthBodyTags(context)), "");
}

}  // namespace
}  // namespace planwarte
