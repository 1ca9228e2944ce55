#include "core/page/common_tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/page/day_template_tags.h"
#include "core/page/main_page_tags.h"
#include "core/page/month_body_tags.h"
#include "core/page/week_body_tags.h"
#include "core/page_fixture.h"

namespace planwarte {
namespace {

using testing_support::PageFixture;

class CommonTagsTest : public PageFixture {
  protected:
    void SetUp() override { PrepareBuild(Today()); }
};

struct TagCase {
    std::string tag;
    std::string expected;
};

TEST_F(CommonTagsTest, CurrentDateAndPictures) {
    const std::vector<TagCase> cases = {
        {"ACT_DAY", "8"},
        {"ACT_DAYTEXT", "Mittwoch"},
        {"ACT_MONTH", "Dezember"},
        {"ACT_YEAR", "2004"},
        {"BGHEADER", "file:///opt/planwarte/vorlagen/headerbg.gif"},
        {"BACKIMG", "file:///opt/planwarte/vorlagen/back.gif"},
        {"FORWARDIMG", "file:///opt/planwarte/vorlagen/forward.gif"},
        {"HOMEIMG", "file:///opt/planwarte/vorlagen/home.gif"},
        // Same form as the other pictures, no doubled separator.
        {"RESIZEIMG", "file:///opt/planwarte/vorlagen/resize.gif"},
        {"NOSUCHTAG", ""},
        {"act_day", ""},
    };
    for (const TagCase& c : cases) {
        SCOPED_TRACE(c.tag);
        EXPECT_EQ(CommonTag(context, c.tag), c.expected);
    }
}

TEST_F(CommonTagsTest, PicturesUseTheTemplateFolderAsSpelledAndEncoded) {
    context.templates.folder = "/home/Jo Doe/Vorlagen#2/";
    EXPECT_EQ(CommonTag(context, "HOMEIMG"), "file:///home/Jo%20Doe/Vorlagen%232/home.gif");
}

TEST_F(CommonTagsTest, ButtonCaptionsFollowTheEdition) {
    struct Case {
        std::string tag;
        std::string german;
        std::string english;
    };
    const std::vector<Case> cases = {
        {"BACK", "Zurück", "Back"}, {"HOME", "Heute", "Home"}, {"NEXT", "Vor", "Next"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        context.english_edition = false;
        EXPECT_EQ(CommonTag(context, c.tag), c.german);
        context.english_edition = true;
        EXPECT_EQ(CommonTag(context, c.tag), c.english);
    }
}

TEST_F(CommonTagsTest, ObjectTagsReadTheSettingsAtEachTag) {
    EXPECT_EQ(CommonTag(context, "OBJECTCOLOR"), "8421504");
    EXPECT_EQ(CommonTag(context, "OBJECTFONT"), "");
    EXPECT_EQ(CommonTag(context, "OBJECTFONTCOLOR"), "0");

    // Changed after the build started: the tags see the new values at once.
    SetInteger("BackgroundColor", 255);
    SetString("Font", "Verdana");
    SetInteger("FontColor", 16711680);
    EXPECT_EQ(CommonTag(context, "OBJECTCOLOR"), "255");
    EXPECT_EQ(CommonTag(context, "OBJECTFONT"), "Verdana");
    EXPECT_EQ(CommonTag(context, "OBJECTFONTCOLOR"), "16711680");
}

TEST_F(CommonTagsTest, ObjectTagsWithValuesOfAnotherType) {
    SetString("BackgroundColor", "grey");
    SetInteger("Font", 5);
    settings.SetRaw(kSettingsKeyPath, "FontColor", "\x01\x02");
    EXPECT_EQ(CommonTag(context, "OBJECTCOLOR"), "8421504");
    EXPECT_EQ(CommonTag(context, "OBJECTFONT"), "Arial");
    EXPECT_EQ(CommonTag(context, "OBJECTFONTCOLOR"), "0");
}

TEST_F(CommonTagsTest, ObjectFontIsEscapedForThePage) {
    SetString("Font", "A\" onmouseover=\"x()");
    EXPECT_EQ(CommonTag(context, "OBJECTFONT"), "A&quot; onmouseover=&quot;x()");
}

TEST_F(CommonTagsTest, ObjectTagsCreateTheKeyOrGiveNothingWithoutStore) {
    MemorySettingsStore empty_store;
    PageContext fresh{.files = files, .settings = empty_store, .clock = clock};
    EXPECT_EQ(CommonTag(fresh, "OBJECTCOLOR"), "8421504");
    EXPECT_TRUE(empty_store.HasKey(kSettingsKeyPath));

    settings.SetUnavailable(true);
    for (const std::string tag : {"OBJECTCOLOR", "OBJECTFONT", "OBJECTFONTCOLOR"}) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(CommonTag(context, tag), "");
    }
}

TEST_F(CommonTagsTest, EveryHandlerFallsBackToTheCommonTags) {
    struct Case {
        const char* name;
        TagHandler handler;
    };
    const std::vector<Case> cases = {
        {"main page", MainPageTags(context)},
        {"week body", WeekBodyTags(context)},
        {"month body", MonthBodyTags(context)},
        {"day template", DayTemplateTags(context)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Expand("<#ACT_YEAR>|<#BACK>|<#NOSUCHTAG>|<#back>", c.handler), "2004|Zurück||");
    }
}

}  // namespace
}  // namespace planwarte
