// The assistant's components as the program finds them on Linux.
#include "adapters/speech/speech_components.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

using testing_support::TempFolder;

TEST(CharacterFiles, OnlyFilesOfTheFolderItselfNamedLikeCharacterFilesCount) {
    struct Case {
        const char* name;
        std::vector<std::string> files;
        std::vector<std::string> folders;
        bool holds;
    };
    const std::vector<Case> cases = {
        {"empty folder", {}, {}, false},
        {"a character file", {"merlin.acs"}, {}, true},
        {"a file with the extension acf", {"x.acf"}, {}, true},
        {"the extension in capitals", {"MERLIN.ACS"}, {}, true},
        {"the extension ac alone", {"x.ac"}, {}, true},
        {"other files only", {"x.txt", "acs", "liesmich"}, {}, false},
        {"a character file in a sub-folder only", {"sub/peedy.acs"}, {"sub"}, false},
        {"a sub-folder named like a character file", {}, {"peedy.acs"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        for (const std::string& sub_folder : c.folders) {
            std::filesystem::create_directory(folder / sub_folder);
        }
        for (const std::string& file : c.files) {
            std::ofstream(folder / file) << "character";
        }
        EXPECT_EQ(HoldsCharacterFiles(folder.Path()), c.holds);
    }
}

TEST(CharacterFiles, AMissingFolderAndADanglingLinkHoldNone) {
    TempFolder folder;
    EXPECT_FALSE(HoldsCharacterFiles(folder / "chars/"));
    std::filesystem::create_symlink(folder / "gone.acs", folder / "merlin.acs");
    EXPECT_FALSE(HoldsCharacterFiles(folder.Path()));
    // A link to a character file is one.
    std::ofstream(folder / "gone.acs") << "character";
    EXPECT_TRUE(HoldsCharacterFiles(folder.Path()));
}

TEST(SpeechComponentProbes, CharactersAreTheHostsOwnOrTheFilesOfTheFolder) {
    struct Case {
        const char* name;
        bool built_in;
        bool character_file;
        bool present;
    };
    for (const Case& c : std::vector<Case>{{"neither", false, false, false},
                                           {"built-in character", true, false, true},
                                           {"character file", false, true, true}}) {
        SCOPED_TRACE(c.name);
        TempFolder chars;
        if (c.character_file) {
            std::ofstream(chars / "merlin.acs") << "character";
        }
        SpeechComponentProbes probes(
            {.characters_folder = chars.Path(), .built_in_character = c.built_in});
        EXPECT_EQ(probes.CharactersPresent(), c.present);
    }
}

// On a machine with espeak-ng and its voice data, as the tests need for speech anyway.
TEST(SpeechComponentProbes, EspeakNgWithItsVoicesIsTheSpeechInterfaceAndItsEngines) {
    SpeechComponentProbes probes({});
    ASSERT_TRUE(probes.SpeechInterfacePresent());
    EXPECT_GT(probes.EngineCount(), 0);
    // Asking again finds the running library.
    EXPECT_TRUE(probes.SpeechInterfacePresent());
}

}  // namespace
}  // namespace planwarte
