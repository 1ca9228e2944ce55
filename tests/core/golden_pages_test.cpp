// Golden pages: the shipped Standard design (data/vorlagen) built by the main window over a
// realistic week in the fake calendar source, at a fixed moment, for each of the six views,
// compared byte for byte with the reference pages in tests/core/golden/. Any change of the page
// output, of the design as of the appointment and task lines, thus shows up as a diff to review.
//
// After a deliberate change of the design or of the page build, rewrite the references with
//     PLANWARTE_UPDATE_GOLDEN=1 build/tests/core_tests --gtest_filter='*GoldenPages*'
// and review the diff of tests/core/golden/ before committing it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/fake_object_model.h"
#include "adapters/fake/fake_safe_item_library.h"
#include "adapters/fake/memory_file_system.h"
#include "adapters/fake/memory_settings_store.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "common/realistic_week.h"
#include "core/app/main_form.h"
#include "core/app/services.h"
#include "core/app/trace_log.h"
#include "core/page/design_loader.h"
#include "core/page/template_expander.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFolder = "/opt/planwarte/";
constexpr const char* kTempFolder = "/tmp/pw/";
constexpr PixelSize kWindow{1024, 768};

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

// The page the main window builds for the week's date, with every service a fake.
class GoldenPages : public ::testing::TestWithParam<realistic_week::WeekView> {
  protected:
    void SetUp() override {
        AddShippedDesign(files);
        realistic_week::PlantWeek(*outlook, settings, GetParam());
    }

    std::string BuildPage() {
        Services services{.settings = settings,
                          .clock = clock,
                          .loop = loop,
                          .files = files,
                          .folders = folders,
                          .notice = notice,
                          .trace = trace,
                          .outlook = outlook_factory,
                          .safe_items = safe_items};
        TForm1 form(services, StartMode::PageOnly, {}, nullptr);
        form.FormCreate();
        return form.BuildPageText(DateOf(realistic_week::Now()), kWindow, kWindow);
    }

    std::string TraceText() const {
        return files.ReadFile(std::string(kTempFolder) + "planwartedebug.log").value_or("");
    }

    MemoryFileSystem files;
    MemorySettingsStore settings;
    VirtualClock clock{realistic_week::Now()};
    VirtualEventLoop loop{clock};
    FixedFolders folders{kProgramFolder, kTempFolder};
    RecordingNotice notice;
    TraceLog trace{files, kTempFolder};
    std::shared_ptr<FakeOutlook> outlook = FakeOutlook::Create();
    FakeApplicationFactory outlook_factory{outlook};
    FakeSafeItemLibrary safe_items;
};

TEST_P(GoldenPages, PageMatchesItsReference) {
    const std::string page = BuildPage();
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

// Every template of the design is used, so a page that leaves a view's body out is caught too;
// and the week is read without a single failure, so the references hold no half-read items.
TEST_P(GoldenPages, PageShowsTheWeekWithoutFailuresAndNoTagIsLeft) {
    const std::string page = BuildPage();
    EXPECT_EQ(page.find("<#"), std::string::npos);
    EXPECT_NE(page.find("Zahnarzt Dr. Lenz"), std::string::npos);
    EXPECT_NE(page.find("<b>Mittwoch</b>"), std::string::npos) << "today is not marked";
    EXPECT_EQ(page.find("<img src=x"), std::string::npos) << "a subject became markup";
    EXPECT_EQ(page.find("<script>alert"), std::string::npos) << "a place became markup";
    EXPECT_TRUE(notice.messages.empty());
    EXPECT_FALSE(std::regex_search(TraceText(), std::regex("_[0-9]+_"))) << TraceText();
}

INSTANTIATE_TEST_SUITE_P(StandardDesign, GoldenPages,
                         ::testing::ValuesIn(realistic_week::kWeekViews),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

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
