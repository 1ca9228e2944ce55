// Golden pages: the shipped Standard design (data/vorlagen) expanded over the demo calendar at a
// fixed date, for each of the six views, compared byte for byte with the reference pages in
// tests/core/golden/. Any change of the page output thus shows up as a diff to review.
//
// After a deliberate change of the design or of the page build, rewrite the references with
//     PLANWARTE_UPDATE_GOLDEN=1 build/tests/core_tests --gtest_filter='GoldenPages*'
// and review the diff of tests/core/golden/ before committing it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/memory_file_system.h"
#include "adapters/fake/memory_settings_store.h"
#include "adapters/fake/virtual_clock.h"
#include "common/demo_calendar.h"
#include "core/page/design_loader.h"
#include "core/page/page_renderer.h"
#include "core/page/template_expander.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFolder = "/opt/planwarte/";

fs::path DesignSourceFolder() {
    return fs::path(PLANWARTE_SOURCE_DIR) / "data" / "vorlagen";
}
fs::path GoldenFolder() {
    return fs::path(PLANWARTE_SOURCE_DIR) / "tests" / "core" / "golden";
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The shipped design's files, as the program folder's template folder holds them.
void AddShippedDesign(MemoryFileSystem& files) {
    for (const auto& entry : fs::directory_iterator(DesignSourceFolder())) {
        files.AddFile(std::string(kProgramFolder) + "vorlagen/" + entry.path().filename().string(),
                      ReadBytes(entry.path()));
    }
}

// Where two texts first differ, as line number and both lines, so a failure names the change.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream expected_lines(expected);
    std::istringstream actual_lines(actual);
    std::string want;
    std::string got;
    for (int line = 1;; ++line) {
        const bool more_wanted = static_cast<bool>(std::getline(expected_lines, want));
        const bool more_got = static_cast<bool>(std::getline(actual_lines, got));
        if (!more_wanted && !more_got) {
            return "the texts differ only in their last line end";
        }
        if (!more_wanted || !more_got || want != got) {
            return "line " + std::to_string(line) +
                   "\n  expected: " + (more_wanted ? want : "<end of text>") +
                   "\n  actual:   " + (more_got ? got : "<end of text>");
        }
    }
}

bool UpdatingGoldenPages() {
    const char* update = std::getenv("PLANWARTE_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

class GoldenPages : public ::testing::TestWithParam<demo::DemoView> {
  protected:
    void SetUp() override {
        AddShippedDesign(files);
        demo::PlantDemoSettings(settings, GetParam().view_kind);
    }

    TemplateSet LoadShippedDesign() {
        const TemplateSet templates = LoadDesign(DesignSources{.settings = settings,
                                                               .files = files,
                                                               .program_folder = kProgramFolder,
                                                               .progress_step = {},
                                                               .notice = notice});
        EXPECT_TRUE(notice.messages.empty());
        return templates;
    }

    MemoryFileSystem files;
    MemorySettingsStore settings;
    VirtualClock clock{demo::DemoNow()};
    RecordingNotice notice;
};

TEST_P(GoldenPages, PageMatchesItsReference) {
    PageContext context =
        demo::DemoPageContext(files, settings, clock, LoadShippedDesign(), {1024, 768}, false);
    const std::string page = RenderCalendarPage(context, DateOf(demo::DemoNow()));
    const fs::path reference = GoldenFolder() / (std::string(GetParam().name) + ".htm");

    if (UpdatingGoldenPages()) {
        fs::create_directories(reference.parent_path());
        std::ofstream(reference, std::ios::binary) << page;
        GTEST_SKIP() << "rewrote " << reference;
    }
    ASSERT_TRUE(fs::exists(reference))
        << reference << " is missing; create it with PLANWARTE_UPDATE_GOLDEN=1";
    const std::string expected = ReadBytes(reference);
    EXPECT_TRUE(page == expected) << GetParam().name << " page differs from " << reference << " at "
                                  << FirstDifference(expected, page);
}

// Every template of the design is used, so a page that leaves a view's body out is caught too.
TEST_P(GoldenPages, PageShowsTheDemoCalendarAndNoTagIsLeft) {
    PageContext context =
        demo::DemoPageContext(files, settings, clock, LoadShippedDesign(), {1024, 768}, false);
    const std::string page = RenderCalendarPage(context, DateOf(demo::DemoNow()));
    EXPECT_EQ(page.find("<#"), std::string::npos);
    EXPECT_NE(page.find("Zahnarzt Dr. Lenz"), std::string::npos);
    EXPECT_NE(page.find("<b>Mittwoch</b>"), std::string::npos) << "today is not marked";
}

INSTANTIATE_TEST_SUITE_P(StandardDesign, GoldenPages, ::testing::ValuesIn(demo::kDemoViews),
                         [](const auto& info) { return std::string(info.param.name); });

// The tags each kind of template knows; any other name vanishes from the page unnoticed.
const std::set<std::string> kCommonTags = {
    "ACT_DAY", "ACT_DAYTEXT", "ACT_MONTH",   "ACT_YEAR",   "BGHEADER",
    "BACKIMG", "FORWARDIMG",  "HOMEIMG",     "RESIZEIMG",  "BACK",
    "HOME",    "NEXT",        "OBJECTCOLOR", "OBJECTFONT", "OBJECTFONTCOLOR"};
const std::set<std::string> kMainTags = {"FONTSIZE", "FONT",        "FONTCOLOR",    "INFOCOLOR",
                                         "BGCOLOR",  "SCREENWIDTH", "SCREENHEIGHT", "KALX",
                                         "KALY",     "KALH",        "KALW",         "KALENDER"};
const std::set<std::string> kWeekBodyTags = {
    "XTAGE",         "DAYOFWEEK",    "DAY",         "KW",        "DATUM",    "BGCOLOR",
    "BGCOLORHEADER", "BGCOLORDAY",   "DAYCOLOR",    "FONTCOLOR", "FONTSIZE", "FONTDATECOLOR",
    "DAYTEXT",       "CAPTIONTASKS", "CAPTIONAPPS", "TASKS"};
const std::set<std::string> kMonthBodyTags = {
    "WD1",   "WD2",       "WD3",           "WD4", "WD5",       "WD6",     "WD7",  "WIDTH",
    "MONTH", "MONTHTEXT", "FONTDATECOLOR", "DAY", "FONTCOLOR", "BGCOLOR", "DATUM"};
const std::set<std::string> kDayTags = {"FONTCOLOR",  "FONTSIZE",      "DAYOFWEEK", "DAY",
                                        "BGCOLORDAY", "FONTDATECOLOR", "DAYTEXT"};
// Tags whose answer depends on the day they name: in a body template each needs its offset.
const std::set<std::string> kTagsOfADay = {"DAYOFWEEK",     "DAY",        "BGCOLOR",
                                           "BGCOLORHEADER", "BGCOLORDAY", "DAYCOLOR",
                                           "FONTDATECOLOR", "DAYTEXT"};

struct TemplateCase {
    const char* file;
    const std::set<std::string>* tags;
    bool takes_offsets;    // a body template: its day tags name their day by DATEOFFSET
    int day_text_offsets;  // the days 0 .. n-1 the body must show (DAYTEXT, or DAY in a month)
};

struct UsedTag {
    std::string name;
    std::optional<int> offset;
};

std::vector<UsedTag> TagsOf(const std::string& text) {
    std::vector<UsedTag> used;
    ExpandTemplateText(text, [&used](const std::string& name, const TagParameters& parameters) {
        UsedTag tag{name, std::nullopt};
        if (!parameters.Value("DATEOFFSET").empty()) {
            tag.offset = parameters.IntegerValue("DATEOFFSET", -1000);
        }
        used.push_back(tag);
        return std::string();
    });
    return used;
}

TEST(StandardDesign, TemplatesUseOnlyKnownTagsAndShowEveryDayOfTheirView) {
    const std::vector<TemplateCase> cases = {
        {"haupt.mkf", &kMainTags, false, 0},       {"monat.mkf", &kMonthBodyTags, true, 42},
        {"tag.mkf", &kDayTags, false, 0},          {"xtagetag.mkf", &kDayTags, false, 0},
        {"woche.mkf", &kWeekBodyTags, true, 7},    {"2wochen.mkf", &kWeekBodyTags, true, 14},
        {"3wochen.mkf", &kWeekBodyTags, true, 21}, {"xtage.mkf", &kWeekBodyTags, true, 0},
        {"heute.mkf", &kWeekBodyTags, true, 1},
    };
    for (const TemplateCase& test_case : cases) {
        SCOPED_TRACE(test_case.file);
        const std::vector<UsedTag> used = TagsOf(ReadBytes(DesignSourceFolder() / test_case.file));
        const std::string shown_tag = test_case.tags == &kMonthBodyTags ? "DAY" : "DAYTEXT";
        std::set<int> shown_days;
        for (const UsedTag& tag : used) {
            EXPECT_TRUE(test_case.tags->contains(tag.name) || kCommonTags.contains(tag.name))
                << "unknown tag " << tag.name;
            if (test_case.takes_offsets && kTagsOfADay.contains(tag.name)) {
                EXPECT_TRUE(tag.offset.has_value()) << tag.name << " without DATEOFFSET";
            }
            if (tag.name == shown_tag && tag.offset) {
                shown_days.insert(*tag.offset);
            }
        }
        for (int offset = 0; offset < test_case.day_text_offsets; ++offset) {
            EXPECT_TRUE(shown_days.contains(offset)) << "day " << offset << " is not shown";
        }
    }
}

TEST(StandardDesign, TemplatesAreAsciiWithLinesTheExpanderAccepts) {
    for (const auto& entry : fs::directory_iterator(DesignSourceFolder())) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".mkf" && name != "design.ini") {
            continue;
        }
        SCOPED_TRACE(name);
        const std::string text = ReadBytes(entry.path());
        EXPECT_TRUE(std::all_of(text.begin(), text.end(),
                                [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LT(line.size(), 4000u);
        }
    }
}

TEST(StandardDesign, DesignIniNamesAnExistingFileForEverySlotAndThePicturesAreGifs) {
    MemoryFileSystem files;
    AddShippedDesign(files);
    MemorySettingsStore settings;
    RecordingNotice notice;
    const TemplateSet templates = LoadDesign(DesignSources{.settings = settings,
                                                           .files = files,
                                                           .program_folder = kProgramFolder,
                                                           .progress_step = {},
                                                           .notice = notice});
    EXPECT_EQ(DesignNames(files, kProgramFolder), std::vector<std::string>{"Standard"});
    for (const TemplateSlot& slot : TemplateSlots()) {
        EXPECT_TRUE(files.FileExists(templates.*slot.path)) << slot.key;
    }
    for (const char* picture : {"headerbg.gif", "back.gif", "forward.gif", "home.gif", "resize.gif",
                                "low.gif", "high.gif"}) {
        const std::optional<std::string> bytes = files.ReadFile(templates.folder + picture);
        ASSERT_TRUE(bytes.has_value()) << picture;
        EXPECT_EQ(bytes->substr(0, 6), "GIF89a") << picture;
        EXPECT_EQ(bytes->back(), '\x3b') << picture << " lacks the GIF trailer";
    }
}

// The item links and buttons of a page call into the program only through these names.
TEST(StandardDesign, PageDefinesTheScriptFunctionsAndCallsTheProgramsObjects) {
    MemoryFileSystem files;
    AddShippedDesign(files);
    const std::string page = *files.ReadFile(std::string(kProgramFolder) + "vorlagen/haupt.mkf");
    for (const char* expected :
         {"function OpenOLWindow(", "function rollon(", "function rollout(", "window.MKFAccess",
          "window.OpenOutlookWindow", "opener.EntryID =", "opener.FolderEntryID =",
          "planwarteCall('BackClicked')", "planwarteCall('HomeClicked')",
          "planwarteCall('ForwardClicked')", "planwarteCall('Resize')", "bgcolor=\"<#BGCOLOR>\""}) {
        EXPECT_NE(page.find(expected), std::string::npos) << expected;
    }
    EXPECT_LT(page.find("opener.EntryID ="), page.find("opener.FolderEntryID ="))
        << "the item's EntryID must be written before its folder opens it";
}

}  // namespace
}  // namespace planwarte
