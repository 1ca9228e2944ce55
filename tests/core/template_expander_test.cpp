#include "core/page/template_expander.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapters/fake/memory_file_system.h"

namespace planwarte {
namespace {

// Shows what the handler was given: "[NAME:entry|entry]", or "[NAME]" without parameters.
std::string EchoTag(const std::string& name, const TagParameters& parameters) {
    std::string text = "[" + name;
    const char* separator = ":";
    for (const std::string& entry : parameters.Entries()) {
        text += separator + entry;
        separator = "|";
    }
    return text + "]";
}

TEST(TemplateExpanderTest, ScansTagsAsWritten) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"text without tags", "<html>\r\n<b>x</b>\n", "<html>\r\n<b>x</b>\n"},
        {"plain tag", "a<#DAY>b", "a[DAY]b"},
        {"blank after <", "< #DAY>", "[DAY]"},
        {"blank after #", "<# DAY>", "[DAY]"},
        {"blanks and line breaks around #", "<  \r\n#\n\t DAY  >", "[DAY]"},
        {"lower-case name as written", "<#fontSize>", "[fontSize]"},
        {"adjacent tags", "<#A><#B>", "[A][B]"},
        {"unquoted parameter", "<#DAY DATEOFFSET=3>", "[DAY:DATEOFFSET=3]"},
        {"quoted parameter", "<#DAY DATEOFFSET=\"3\">", "[DAY:DATEOFFSET=3]"},
        {"single-quoted parameter", "<#DAY DATEOFFSET='3'>", "[DAY:DATEOFFSET=3]"},
        {"double quotes keep blanks", "<#T a=\"x y\" b>", "[T:a=x y|b]"},
        {"quote inside a part", "<#T\"a b\">", "[T:a b]"},
        {"parameters over several lines", "<#T\n  a=1\r\n  b=2\n>", "[T:a=1|b=2]"},
        {"plus is a blank", "<#T a=1+2>", "[T:a=1 2]"},
        {"percent escapes", "<#T a=%41%62>", "[T:a=Ab]"},
        {"percent without two hex digits stays", "<#T a=%4 b=%zz c=%>", "[T:a=%4|b=%zz|c=%]"},
        {"decoded quotes are removed too", "<#T a=%22q%27>", "[T:a=q]"},
        {"parts left empty are dropped", "<#T \"\" '' b>", "[T:b]"},
        {"> inside quotes ends the tag", "<#T a=\"x>y\">", "[T:a=x]y\">"},
        {"< without # is copied", "a<b", "a<b"},
        {"blank after a plain < is lost", "a < b", "a <b"},
        {"line break after a plain < is lost", "a<\n b", "a<b"},
        {"< before a tag", "<<#T>", "<[T]"},
        {"< at the end", "x< \n", "x<"},
        {"name starting with a digit is one character", "<#1abc>", "[1:abc]"},
        {"name with underscore and digits", "<#_a1 x>", "[_a1:x]"},
        {"name ends at the first non-name character", "<#A.B>", "[A:.B]"},
        {"symbol as name", "<#-x>", "[-:x]"},
        {"tag without a name", "<#>rest>", "[]rest>"},
        {"unclosed tag takes the rest", "a<#DAY DATEOFFSET=3", "a[DAY:DATEOFFSET=3]"},
        {"<# at the very end", "ab<#", "ab[]"},
        {"<# and blanks at the very end", "ab< # ", "ab[]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExpandTemplateText(c.text, EchoTag), c.expected);
    }
}

TEST(TemplateExpanderTest, UnknownTagsVanishAndNamesKeepTheirCase) {
    const TagHandler font_size_only = [](const std::string& name, const TagParameters&) {
        return name == "FONTSIZE" ? std::string("10") : std::string();
    };
    EXPECT_EQ(
        ExpandTemplateText("<p><#FONTSIZE>|<#fontsize>|<#NOSUCHTAG x=1>|<#</p>", font_size_only),
        "<p>10|||");
}

TEST(TemplateExpanderTest, HandlerTextIsNotScannedAgain) {
    int calls = 0;
    const TagHandler nested = [&](const std::string&, const TagParameters&) {
        ++calls;
        return std::string("< #INNER> a < b");
    };
    EXPECT_EQ(ExpandTemplateText("<#OUTER>", nested), "< #INNER> a < b");
    EXPECT_EQ(calls, 1);
}

TEST(TemplateExpanderTest, DateOffsetIsReadWhateverItsSpelling) {
    struct Case {
        const char* text;
        int expected;
    };
    const std::vector<Case> cases = {
        {"<#DAY DATEOFFSET=3>", 3},
        {"<#DAY DATEOFFSET=\"3\">", 3},
        {"<#DAY dateoffset=3>", 3},
        {"<#DAY DateOffset='-2'>", -2},
        {"<#DAY DATEOFFSET=%2B4>", 4},
        {"<#DAY DATEOFFSET=%33>", 3},
        {"<#DAY DATEOFFSET=abc>", -1},
        {"<#DAY DATEOFFSET=3x>", -1},
        {"<#DAY DATEOFFSET=>", -1},
        {"<#DAY DATEOFFSET>", -1},
        {"<#DAY>", -1},
        {"<#DAY DATEOFFSET=99999999999>", -1},
        {"<#DAY DATEOFFSET=1+2>", -1},
        {"<#DAY OFFSET=3>", -1},
        {"<#DAY DATEOFFSET=5 DATEOFFSET=6>", 5},
    };
    const TagHandler offset = [](const std::string&, const TagParameters& parameters) {
        return std::to_string(parameters.IntegerValue("DATEOFFSET", -1));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ExpandTemplateText(c.text, offset), std::to_string(c.expected));
    }
}

TEST(TemplateExpanderTest, ParameterValueIsTheTextAfterTheFirstEquals) {
    const TagParameters parameters({"plain", "Name=a=b", "name=second", "empty="});
    EXPECT_EQ(parameters.Value("NAME"), "a=b");
    EXPECT_EQ(parameters.Value("empty"), "");
    EXPECT_EQ(parameters.Value("plain"), "");
    EXPECT_EQ(parameters.Value("missing"), "");
}

TEST(TemplateExpanderTest, LinesLongerThan4095BytesAreRejected) {
    struct Case {
        const char* name;
        std::string text;
        std::string error;  // empty: expands
    };
    const std::string fits(4095, 'x');
    const std::string too_long(4096, 'x');
    const std::vector<Case> cases = {
        {"4095 bytes", "a\nb\n" + fits + "\nc\n", ""},
        {"4096 bytes", "a\nb\n" + too_long + "\nc\n", "Zeile zu lang in Zeile 3"},
        {"4095 bytes with CR LF", "a\r\nb\r\n" + fits + "\r\nc", ""},
        {"4096 bytes with CR LF", "a\r\nb\r\n" + too_long + "\r\n", "Zeile zu lang in Zeile 3"},
        {"last line of 4095 bytes without line end", "a\nb\n" + fits, ""},
        {"last line of 4096 bytes without line end", "a\nb\n" + too_long,
         "Zeile zu lang in Zeile 3"},
        {"long first line", too_long + "x", "Zeile zu lang in Zeile 1"},
        {"long line inside a tag", "<#T\n\n" + too_long + ">", "Zeile zu lang in Zeile 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.error.empty()) {
            EXPECT_EQ(ExpandTemplateText(c.text, EchoTag), c.text);
            continue;
        }
        try {
            ExpandTemplateText(c.text, EchoTag);
            ADD_FAILURE() << "expanded without error";
        } catch (const TemplateError& error) {
            EXPECT_EQ(std::string(error.what()), c.error);
        }
    }
}

TEST(TemplateExpanderTest, TemplateFileIsReadAfreshForEveryExpansion) {
    MemoryFileSystem files;
    files.AddFile("/p/vorlagen/tag.mkf", "<td><#DAY></td>");
    EXPECT_EQ(ExpandTemplate(files, "/p/vorlagen/tag.mkf", EchoTag), "<td>[DAY]</td>");
    files.AddFile("/p/vorlagen/tag.mkf", "<#DAYTEXT>");
    EXPECT_EQ(ExpandTemplate(files, "/p/vorlagen/tag.mkf", EchoTag), "[DAYTEXT]");
}

TEST(TemplateExpanderTest, UnreadableTemplateNamesItsPath) {
    MemoryFileSystem files;
    try {
        ExpandTemplate(files, "/p/vorlagen/woche.mkf", EchoTag);
        ADD_FAILURE() << "expanded a missing file";
    } catch (const TemplateError& error) {
        EXPECT_NE(std::string(error.what()).find("/p/vorlagen/woche.mkf"), std::string::npos);
    }
}

}  // namespace
}  // namespace planwarte
