#include "core/page/design_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "adapters/fake/fake_host_services.h"
#include "adapters/fake/memory_file_system.h"
#include "adapters/fake/memory_settings_store.h"
#include "core/app/program_exit.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

constexpr const char* kProgramFolder = "/opt/planwarte/";
constexpr const char* kTemplateFolder = "/opt/planwarte/vorlagen/";
constexpr const char* kDesignIncomplete = "Eine oder mehrere der Vorlagen wurden nicht gefunden";

// The slots with the file each has when design.ini says nothing.
const std::map<std::string, std::string> kDefaultFiles = {
    {"haupt", "haupt.mkf"}, {"monat", "monat.mkf"},     {"tag", "tag.mkf"},
    {"woche", "woche.mkf"}, {"2wochen", "2wochen.mkf"}, {"3wochen", "3wochen.mkf"},
    {"xtage", "xtage.mkf"}, {"heute", "heute.mkf"},     {"xtagetag", "xtagetag.mkf"},
};

std::vector<std::string> DefaultFileNames() {
    std::vector<std::string> names;
    for (const auto& [slot, file] : kDefaultFiles) {
        names.push_back(file);
    }
    return names;
}

std::map<std::string, std::string> SlotPaths(const TemplateSet& set) {
    std::map<std::string, std::string> paths;
    for (const TemplateSlot& slot : TemplateSlots()) {
        paths[std::string(slot.key)] = set.*slot.path;
    }
    return paths;
}

// The default paths with some slots set to other files (relative to the template folder).
std::map<std::string, std::string> ExpectedPaths(
    const std::string& folder, const std::map<std::string, std::string>& changed = {}) {
    std::map<std::string, std::string> paths;
    for (const auto& [slot, file] : kDefaultFiles) {
        const auto it = changed.find(slot);
        paths[slot] = folder + (it == changed.end() ? file : it->second);
    }
    return paths;
}

// The program's surroundings for one load.
struct DesignWorld {
    void AddFiles(const std::string& folder, const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            files.AddFile(folder + name, "<#DAY>");
        }
    }
    TemplateSet Load() {
        return LoadDesign(DesignSources{
            .settings = settings,
            .files = files,
            .program_folder = kProgramFolder,
            .progress_step = [this](const std::string& text) { progress.push_back(text); },
            .notice = notice,
        });
    }
    // Loads a design that lacks a checked template: the user is told, the program ends.
    void ExpectProgramExit() {
        try {
            Load();
            ADD_FAILURE() << "the design loaded";
        } catch (const ProgramExit& exit) {
            EXPECT_EQ(exit.exit_code, 1);
        }
        EXPECT_EQ(notice.messages, std::vector<std::string>{kDesignIncomplete});
    }

    MemorySettingsStore settings;
    MemoryFileSystem files;
    RecordingNotice notice;
    std::vector<std::string> progress;
};

class DesignLoaderTest : public ::testing::Test, protected DesignWorld {};

TEST_F(DesignLoaderTest, ChosenDesignGivesTheSlotFiles) {
    struct Case {
        const char* name;
        std::optional<std::string> design;      // the stored value Design, if any
        std::optional<std::string> design_ini;  // the text of design.ini, if there is one
        std::vector<std::string> extra_files;   // beside the default templates
        std::map<std::string, std::string> changed;
    };
    const std::string designs =
        "[Standard]\nhaupt=std.mkf\n[Blau]\nhaupt=blau.mkf\nmonat=blau_monat.mkf\n";
    const std::vector<Case> cases = {
        {"no Design value and no design.ini", std::nullopt, std::nullopt, {}, {}},
        {"Design value without design.ini", "Blau", std::nullopt, {}, {}},
        {"unknown design uses Standard", "Fehlt", designs, {"std.mkf"}, {{"haupt", "std.mkf"}}},
        {"unknown design without a Standard section", "Fehlt", "[Blau]\nhaupt=blau.mkf\n", {}, {}},
        {"absent Design value uses Standard",
         std::nullopt,
         designs,
         {"std.mkf"},
         {{"haupt", "std.mkf"}}},
        {"design name in another case",
         "blau",
         designs,
         {"blau.mkf", "blau_monat.mkf"},
         {{"haupt", "blau.mkf"}, {"monat", "blau_monat.mkf"}}},
        {"section that sets only haupt",
         "Grau",
         "[Grau]\nHAUPT = grau.mkf\n",
         {"grau.mkf"},
         {{"haupt", "grau.mkf"}}},
        {"file name in another case", std::nullopt, "[Standard]\nhaupt=Haupt.MKF\n", {}, {}},
        {"exact file name preferred",
         std::nullopt,
         "[Standard]\nhaupt=Haupt.mkf\n",
         {"Haupt.mkf"},
         {{"haupt", "Haupt.mkf"}}},
        {"file in a subfolder written with backslash",
         std::nullopt,
         "[Standard]\nhaupt=Extra\\Haupt.mkf\n",
         {"extra/haupt.mkf"},
         {{"haupt", "extra/haupt.mkf"}}},
        {"empty value of a view body gives the folder",
         std::nullopt,
         "[Standard]\nwoche=\n",
         {},
         {{"woche", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DesignWorld world;
        world.settings.CreateKey(kSettingsKeyPath);
        if (c.design) {
            world.settings.SetString(kSettingsKeyPath, "Design", *c.design);
        }
        if (c.design_ini) {
            world.files.AddFile(std::string(kTemplateFolder) + "design.ini", *c.design_ini);
        }
        world.AddFiles(kTemplateFolder, DefaultFileNames());
        world.AddFiles(kTemplateFolder, c.extra_files);
        const TemplateSet set = world.Load();
        EXPECT_EQ(SlotPaths(set), ExpectedPaths(kTemplateFolder, c.changed));
        EXPECT_EQ(set.folder, kTemplateFolder);
        EXPECT_EQ(world.progress, std::vector<std::string>{"Load Design"});
        EXPECT_TRUE(world.notice.messages.empty());
    }
}

TEST_F(DesignLoaderTest, OnlyMissingPageTemplatesEndTheProgram) {
    const std::vector<std::string> checked = {"haupt", "monat", "tag", "xtagetag"};
    for (const auto& [slot, file] : kDefaultFiles) {
        SCOPED_TRACE(slot);
        DesignWorld world;
        for (const std::string& name : DefaultFileNames()) {
            if (name != file) {
                world.AddFiles(kTemplateFolder, {name});
            }
        }
        if (std::find(checked.begin(), checked.end(), slot) != checked.end()) {
            world.ExpectProgramExit();
        } else {
            EXPECT_EQ(SlotPaths(world.Load()), ExpectedPaths(kTemplateFolder));
            EXPECT_TRUE(world.notice.messages.empty());
        }
    }
}

TEST_F(DesignLoaderTest, EmptyValueOfAPageTemplateEndsTheProgram) {
    AddFiles(kTemplateFolder, DefaultFileNames());
    files.AddFile(std::string(kTemplateFolder) + "design.ini", "[Standard]\ntag=\n");
    ExpectProgramExit();
}

TEST_F(DesignLoaderTest, MissingTemplateFolderEndsTheProgram) {
    AddFiles(std::string(kProgramFolder) + "templates/", DefaultFileNames());
    ExpectProgramExit();
    EXPECT_EQ(progress, std::vector<std::string>{"Load Design"});
}

TEST_F(DesignLoaderTest, TemplateFolderAndDesignFileAreFoundInAnyLetterCase) {
    struct Case {
        const char* folder;
        const char* design_ini;
    };
    const std::vector<Case> cases = {
        {"vorlagen", "design.ini"},
        {"Vorlagen", "Design.ini"},
        {"VORLAGEN", "DESIGN.INI"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        DesignWorld world;
        const std::string folder = std::string(kProgramFolder) + c.folder + "/";
        world.AddFiles(folder, DefaultFileNames());
        world.AddFiles(folder, {"std.mkf"});
        world.files.AddFile(folder + c.design_ini, "[Standard]\nhaupt=std.mkf\n");
        const TemplateSet set = world.Load();
        EXPECT_EQ(set.folder, folder);
        EXPECT_EQ(SlotPaths(set), ExpectedPaths(folder, {{"haupt", "std.mkf"}}));
        EXPECT_EQ(DesignNames(world.files, kProgramFolder), std::vector<std::string>{"Standard"});
    }
}

TEST_F(DesignLoaderTest, ExactlySpelledTemplateFolderIsPreferred) {
    const std::string upper = std::string(kProgramFolder) + "Vorlagen/";
    AddFiles(upper, DefaultFileNames());
    AddFiles(kTemplateFolder, DefaultFileNames());
    EXPECT_EQ(Load().folder, kTemplateFolder);
}

TEST_F(DesignLoaderTest, AFileNamedLikeTheTemplateFolderIsNoTemplateFolder) {
    files.AddFile(std::string(kProgramFolder) + "vorlagen", "not a folder");
    const std::string folder = std::string(kProgramFolder) + "Vorlagen/";
    AddFiles(folder, DefaultFileNames());
    EXPECT_EQ(Load().folder, folder);
}

TEST_F(DesignLoaderTest, UnreadableDesignValueOrMissingKeyFallsBackToStandard) {
    AddFiles(kTemplateFolder, DefaultFileNames());
    AddFiles(kTemplateFolder, {"std.mkf"});
    files.AddFile(std::string(kTemplateFolder) + "design.ini", "[Standard]\nhaupt=std.mkf\n");
    const auto expected = ExpectedPaths(kTemplateFolder, {{"haupt", "std.mkf"}});

    EXPECT_EQ(SlotPaths(Load()), expected);
    EXPECT_FALSE(settings.HasKey(kSettingsKeyPath)) << "the settings key is only opened";

    settings.SetUnavailable(true);
    EXPECT_EQ(SlotPaths(Load()), expected);

    settings.SetUnavailable(false);
    settings.SetInteger(kSettingsKeyPath, "Design", 5);
    EXPECT_EQ(SlotPaths(Load()), expected);
}

TEST_F(DesignLoaderTest, DesignNamesAreSortedWithoutRegardToCase) {
    EXPECT_TRUE(DesignNames(files, kProgramFolder).empty());
    files.AddFile(std::string(kTemplateFolder) + "design.ini",
                  "[Standard]\n[blau]\n[Alt]\n[BLAU]\n[Zebra]\n");
    EXPECT_EQ(DesignNames(files, kProgramFolder),
              (std::vector<std::string>{"Alt", "blau", "Standard", "Zebra"}));
}

}  // namespace
}  // namespace planwarte
