#include "core/common/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace planwarte {
namespace {

TEST(IniFileTest, ValuesAreFoundAsTheWindowsProfileFunctionsFindThem) {
    const IniFile ini(
        "\xEF\xBB\xBF[Standard]\r\n"
        "haupt=haupt.mkf\r\n"
        "  Monat  =   blau monat.mkf  \r\n"
        "; tag=comment.mkf\r\n"
        "tag=first.mkf\r\n"
        "TAG=second.mkf\r\n"
        "woche=\r\n"
        "heute=\"  quoted  \"\r\n"
        "xtage='single'\r\n"
        "xtagetag=\"unbalanced\r\n"
        "formel=a=b\r\n"
        "no equals sign\r\n"
        "=no key\r\n"
        "[ Blau ]\n"
        "haupt=blau.mkf\n"
        "[broken header\n"
        "monat=still blau\n"
        "[standard]\n"
        "haupt=late.mkf\n"
        "2wochen=late.mkf\n");
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"Standard", "haupt", "haupt.mkf"},
        {"STANDARD", "HAUPT", "haupt.mkf"},
        {"Standard", "monat", "blau monat.mkf"},
        {"Standard", "tag", "first.mkf"},
        {"Standard", "woche", ""},
        {"Standard", "heute", "  quoted  "},
        {"Standard", "xtage", "single"},
        {"Standard", "xtagetag", "\"unbalanced"},
        {"Standard", "formel", "a=b"},
        {"Standard", "no equals sign", "fallback"},
        {"Standard", "", "fallback"},
        {"Standard", "2wochen", "late.mkf"},
        {"Standard", "missing", "fallback"},
        {"blau", "haupt", "blau.mkf"},
        {"Blau", "monat", "still blau"},
        {"broken header", "monat", "fallback"},
        {"Missing", "haupt", "fallback"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.Value(c.section, c.key, "fallback"), c.expected);
    }
}

TEST(IniFileTest, SectionsAndKeysAreListedOnceInFileOrder) {
    const IniFile ini(
        "orphan=before any section\n"
        "[Standard]\n"
        "haupt=a\n"
        "Haupt=b\n"
        "monat=c\n"
        "[Blau]\n"
        "[STANDARD]\n"
        "tag=d\n");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Standard", "Blau"}));
    EXPECT_EQ(ini.Keys("standard"), (std::vector<std::string>{"haupt", "monat", "tag"}));
    EXPECT_TRUE(ini.Keys("Blau").empty());
    EXPECT_TRUE(ini.Keys("Missing").empty());
    EXPECT_TRUE(ini.HasSection("blau"));
    EXPECT_FALSE(ini.HasSection("Grün"));
}

TEST(IniFileTest, EmptyOrSectionlessTextHasNoSections) {
    for (const char* text : {"", "\xEF\xBB\xBF", "key=value\n; comment\n", "\n\r\n  \n"}) {
        SCOPED_TRACE(text);
        const IniFile ini(text);
        EXPECT_TRUE(ini.SectionNames().empty());
        EXPECT_EQ(ini.Value("", "key", "fallback"), "fallback");
    }
}

}  // namespace
}  // namespace planwarte
