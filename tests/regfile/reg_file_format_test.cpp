#include "adapters/regfile/reg_file_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace planwarte {
namespace {

constexpr const char* kKalender = "HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender";

// UTF-16LE with byte-order mark, for texts of the Basic Multilingual Plane given as UTF-8.
std::string Utf16LeExport(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

RegDocument ParseOrFail(const std::string& bytes) {
    RegParseResult result = ParseRegFile(bytes);
    EXPECT_TRUE(result.document.has_value()) << result.error;
    return result.document.value_or(RegDocument{});
}

std::vector<std::string> KeyPaths(const RegDocument& document) {
    std::vector<std::string> paths;
    for (const RegKey& key : document.keys()) {
        paths.push_back(key.path);
    }
    return paths;
}

// The same settings in every form a file may come in.
TEST(RegFileFormatTest, ReadsEveryExportFlavour) {
    const std::string body =
        "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\n"
        "\"VORLAGE\"=dword:00000003\n"
        "\"Design\"=\"Gr\xC3\xBCn\"\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedCalendars\\0123ABCD]\n"
        "\"isUsed\"=dword:00000001\n";
    const auto crlf = [](std::string text) {
        std::string out;
        for (const char c : text) {
            out += c == '\n' ? std::string("\r\n") : std::string(1, c);
        }
        return out;
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"version 5, LF", "Windows Registry Editor Version 5.00\n\n" + body},
        {"version 5, CRLF", crlf("Windows Registry Editor Version 5.00\n\n" + body)},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n" + body},
        {"REGEDIT4 in Windows-1252",
         "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
         "\"VORLAGE\"=dword:3\r\n\"Design\"=\"Gr\xFCn\"\r\n\r\n"
         "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedCalendars\\"
         "0123ABCD]\r\n\"isUsed\"=dword:00000001\r\n"},
        {"UTF-16LE with byte-order mark",
         Utf16LeExport(u"Windows Registry Editor Version 5.00\r\n\r\n"
                       u"[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
                       u"\"VORLAGE\"=dword:00000003\r\n\"Design\"=\"Gr\u00FCn\"\r\n\r\n"
                       u"[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\"
                       u"UsedCalendars\\0123ABCD]\r\n\"isUsed\"=dword:00000001\r\n\r\n")},
        {"blank lines, comments and spaces around =",
         "\n\nWindows Registry Editor Version 5.00\n; exported by hand\n"
         "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\n"
         "  \"VORLAGE\" = dword:00000003\n\"Design\"=\"Gr\xC3\xBCn\"   \n"
         "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedCalendars\\0123ABCD]"
         "\n\"isUsed\"=dword:00000001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RegDocument document = ParseOrFail(c.bytes);
        ASSERT_EQ(document.keys().size(), 2u);
        const RegKey* kalender = document.FindKey(kKalender);
        ASSERT_NE(kalender, nullptr);
        ASSERT_EQ(kalender->values.size(), 2u);
        EXPECT_EQ(kalender->values[0].name, "VORLAGE");
        EXPECT_EQ(kalender->values[0].type, RegValueType::kDword);
        EXPECT_EQ(kalender->values[0].dword, 3u);
        EXPECT_EQ(kalender->values[1].type, RegValueType::kString);
        EXPECT_EQ(kalender->values[1].data, "Gr\xC3\xBCn");
        EXPECT_EQ(document.SubKeyNames(std::string(kKalender) + "\\UsedCalendars"),
                  std::vector<std::string>{"0123ABCD"});
    }
}

TEST(RegFileFormatTest, TextEscapesAndDefaultValueRoundTrip) {
    RegDocument document;
    RegKey& key = document.AddKey(kKalender);
    PutValue(key, {"", RegValueType::kString, 0, "default"});
    PutValue(key,
             {"Quote \"and\" back\\slash", RegValueType::kString, 0, "C:\\Programme\\\"Merk\"\\"});
    PutValue(key, {"Lines", RegValueType::kString, 0, "one\r\ntwo\nthree"});
    PutValue(key, {"Empty", RegValueType::kString, 0, ""});
    PutValue(key, {"Negative", RegValueType::kDword, 0xFFFFFFFFu, {}});
    const std::string text = FormatRegFile(document);
    EXPECT_EQ(text,
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
              "@=\"default\"\r\n"
              "\"Quote \\\"and\\\" back\\\\slash\"=\"C:\\\\Programme\\\\\\\"Merk\\\"\\\\\"\r\n"
              "\"Lines\"=\"one\\r\\ntwo\\nthree\"\r\n"
              "\"Empty\"=\"\"\r\n"
              "\"Negative\"=dword:ffffffff\r\n"
              "\r\n");
    const RegDocument again = ParseOrFail(text);
    ASSERT_EQ(again.keys().size(), 1u);
    const std::vector<RegValue>& values = again.keys()[0].values;
    ASSERT_EQ(values.size(), key.values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(key.values[i].name);
        EXPECT_EQ(values[i].name, key.values[i].name);
        EXPECT_EQ(values[i].type, key.values[i].type);
        EXPECT_EQ(values[i].data, key.values[i].data);
        EXPECT_EQ(values[i].dword, key.values[i].dword);
    }
}

TEST(RegFileFormatTest, UnknownEscapeKeepsItsBackslash) {
    const RegDocument document =
        ParseOrFail("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"Path\"=\"C:\\temp\\x\"\n");
    ASSERT_EQ(document.keys().size(), 1u);
    EXPECT_EQ(document.keys()[0].values.at(0).data, "C:\\temp\\x");
}

// A canonical file comes out byte for byte as it went in, values of other types included.
TEST(RegFileFormatTest, OtherValueTypesAreKeptByteForByte) {
    const std::string file =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
        "\"Binary\"=hex:01,ff,00,7a\r\n"
        "\"Expand\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,00,00\r\n"
        "\"Multi\"=hex(7):61,00,62,00,00,00,63,00,00,00,00,00,64,00,65,00,66,00,67,00,68,00,\\\r\n"
        "  69,00,6a,00,6b,00,00,00,00,00\r\n"
        "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n"
        "\"Empty\"=hex:\r\n"
        "\"Delay\"=dword:00000005\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedTasks\\AB]\r\n"
        "\"SID\"=\"x\"\r\n"
        "\r\n";
    const RegDocument document = ParseOrFail(file);
    const RegKey* key = document.FindKey(kKalender);
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(key->values[i].type, RegValueType::kOther) << key->values[i].name;
    }
    EXPECT_EQ(key->values[2].data,
              "hex(7):61,00,62,00,00,00,63,00,00,00,00,00,64,00,65,00,66,00,67,00,68,00,\\\n"
              "  69,00,6a,00,6b,00,00,00,00,00");
    EXPECT_EQ(FormatRegFile(document), file);
}

TEST(RegFileFormatTest, DeletionLinesActAsOnImport) {
    const RegDocument document = ParseOrFail(
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_CURRENT_USER\\A]\n\"Keep\"=dword:1\n\"Gone\"=dword:2\n"
        "[HKEY_CURRENT_USER\\A\\B]\n\"x\"=\"1\"\n"
        "[HKEY_CURRENT_USER\\A\\B\\C]\n"
        "[HKEY_CURRENT_USER\\A\\Bee]\n"
        "[-HKEY_CURRENT_USER\\a\\b]\n\"ignored\"=\"under a deleted key\"\n"
        "[HKEY_CURRENT_USER\\A]\n\"gone\"=-\n\"Later\"=\"merged into the first section\"\n");
    EXPECT_EQ(KeyPaths(document),
              (std::vector<std::string>{"HKEY_CURRENT_USER\\A", "HKEY_CURRENT_USER\\A\\Bee"}));
    const RegKey* a = document.FindKey("HKEY_CURRENT_USER\\A");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->values.size(), 2u);
    EXPECT_EQ(a->values[0].name, "Keep");
    EXPECT_EQ(a->values[1].name, "Later");
}

TEST(RegFileFormatTest, RepeatedValueKeepsItsPlaceAndTakesTheLastData) {
    const RegDocument document = ParseOrFail(
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"One\"=dword:1\n\"Two\"=dword:2\n\"ONE\"=\"text\"\n");
    const RegKey* a = document.FindKey("hkey_current_user\\a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->values.size(), 2u);
    EXPECT_EQ(a->values[0].name, "One");
    EXPECT_EQ(a->values[0].type, RegValueType::kString);
    EXPECT_EQ(a->values[0].data, "text");
}

TEST(RegFileFormatTest, RefusesWhatIsNoExport) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string key = "[HKEY_CURRENT_USER\\A]\r\n\"Delay\"=dword:00000003\r\n";
    const std::vector<Case> cases = {
        {"empty file", ""},
        {"only blank lines", "\r\n\r\n"},
        {"garbage", std::string("\x7F"
                                "ELF\x02\x01\x01",
                                7)},
        {"other text", "[settings]\nDelay=3\n"},
        {"keys and values without a header", key},
        {"wrong version", "Windows Registry Editor Version 6.00\r\n" + key},
        {"UTF-16 cut in half", Utf16LeExport(u"REGEDIT4\r\n") + "\x41"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RegParseResult result = ParseRegFile(c.bytes);
        EXPECT_FALSE(result.document.has_value());
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(RegFileFormatTest, HeaderAloneIsAnEmptyExport) {
    for (const char* bytes : {"Windows Registry Editor Version 5.00\r\n", "REGEDIT4",
                              "\r\nREGEDIT4 \t\r\r\n\r\n; nothing yet\r\n"}) {
        SCOPED_TRACE(bytes);
        const RegParseResult result = ParseRegFile(bytes);
        ASSERT_TRUE(result.document.has_value()) << result.error;
        EXPECT_TRUE(result.document->keys().empty());
        EXPECT_TRUE(result.unreadable.empty());
    }
}

// Blanks and carriage returns at a line's end are what some editors and scripts leave behind;
// the file reads as if they were not there, and is written back in its own layout.
TEST(RegFileFormatTest, BlanksAndCarriageReturnsAtLineEndsAreNoFault) {
    const std::vector<std::string> lines = {
        "Windows Registry Editor Version 5.00",
        "",
        "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]",
        "\"VORLAGE\"=dword:00000001",
        "\"Design\"=\"Standard\"",
        "\"Blob\"=hex:01,02,\\",
        "  03,04",
        "\"Delay\"=dword:00000005",
        "",
    };
    std::string canonical;
    for (const std::string& line : lines) {
        canonical += line + "\r\n";
    }
    struct Case {
        const char* name;
        std::size_t line;  // index into `lines`
        std::string ending;
    };
    const std::vector<Case> cases = {
        {"stray carriage return after the header", 0, "\r\r\n"},
        {"stray carriage return after a key line", 2, "\r\r\n"},
        {"blanks and tabs after a key line", 2, " \t \r\n"},
        {"stray carriage return after a dword", 3, "\r\r\n"},
        {"blanks and tabs after a dword", 3, " \t\r\n"},
        {"blanks and carriage returns mixed after a dword", 3, " \r\t\r\n"},
        {"tabs after a text, LF only", 4, "\t\t\n"},
        {"stray carriage return after a continued line", 5, "\r\r\n"},
        {"blank after the continuation backslash", 5, " \r\n"},
        {"stray carriage return after the continuation", 6, "\r\r\n"},
        {"blanks and tabs after the continuation", 6, "\t \r\n"},
        {"several carriage returns after the last value", 7, "\r\r\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            bytes += lines[i] + (i == c.line ? c.ending : "\r\n");
        }
        const RegParseResult result = ParseRegFile(bytes);
        ASSERT_TRUE(result.document.has_value()) << result.error;
        EXPECT_TRUE(result.unreadable.empty()) << DescribeUnreadableLine(result.unreadable.front());
        EXPECT_EQ(FormatRegFile(*result.document), canonical);
    }
}

// A line that cannot be read costs that line only: the values around it, in the same key,
// are read, and the line is named by its number.
TEST(RegFileFormatTest, UnreadableLineCostsOnlyItself) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n";
    const std::string key = "[HKEY_CURRENT_USER\\A]\r\n";
    const std::string before = "\"Before\"=dword:00000001\r\n";
    const std::string after = "\"After\"=\"still read\"\r\n";
    struct Case {
        const char* name;
        std::string bad;  // placed between the two good values, from line 5
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"bare word", "Delay=3\r\n", "neither a key nor a value"},
        {"name not closed", "\"Delay=dword:3\r\n", "unterminated value name"},
        {"no equals sign", "\"Delay\" dword:3\r\n", "no \"=\" after the value name"},
        {"text not closed", "\"Design\"=\"Standard\r\n", "bad text value"},
        {"data after the text", "\"Design\"=\"Standard\" x\r\n", "bad text value"},
        {"dword too long", "\"Delay\"=dword:000000003\r\n", "bad dword value"},
        {"dword not hexadecimal", "\"Delay\"=dword:0000000g\r\n", "bad dword value"},
        {"dword empty", "\"Delay\"=dword:\r\n", "bad dword value"},
        {"unknown type", "\"Delay\"=qword:3\r\n", "unknown value type"},
        {"hex with other characters", "\"Bin\"=hex:01,zz\r\n", "bad hex value"},
        {"hex type not closed", "\"Bin\"=hex(2:01\r\n", "bad hex value"},
        // The whole value goes, with its continuation lines, and nothing of it is misread.
        {"bad byte in a continuation line", "\"Bin\"=hex:01,\\\r\n  zz,03,\\\r\n  04\r\n",
         "bad hex value (continued to line 7)"},
        {"continuation cut short by a blank line", "\"Bin\"=hex:01,\\\r\n\r\n",
         "continued value cut short by line 6"},
        {"continuation cut short by the next value", "\"Bin\"=hex:01,\\\r\n  02,\\\r\n",
         "continued value cut short by line 7 (continued to line 6)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RegParseResult result = ParseRegFile(header + "\r\n" + key + before + c.bad + after);
        ASSERT_TRUE(result.document.has_value()) << result.error;
        ASSERT_EQ(result.unreadable.size(), 1u);
        EXPECT_EQ(result.unreadable[0].line, 5u);
        EXPECT_EQ(result.unreadable[0].reason, c.reason);
        const RegKey* a = result.document->FindKey("HKEY_CURRENT_USER\\A");
        ASSERT_NE(a, nullptr);
        ASSERT_EQ(a->values.size(), 2u);
        EXPECT_EQ(a->values[0].name, "Before");
        EXPECT_EQ(a->values[1].name, "After");
        EXPECT_EQ(a->values[1].data, "still read");
    }
}

TEST(RegFileFormatTest, ValuesWithoutAKeyToGoToAreUnreadable) {
    struct Case {
        const char* name;
        std::string body;
        std::vector<std::size_t> lines;
        std::vector<std::string> keys;  // path below the hive, then the number of values
    };
    const std::vector<Case> cases = {
        {"value before the first key",
         "\"Delay\"=dword:00000003\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:1\n",
         {2},
         {"A 1"}},
        // Its values must not slip into the key before it.
        {"values under a key line not closed",
         "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:1\n[HKEY_CURRENT_USER\\B\n\"y\"=dword:2\n"
         "\"z\"=hex:01,\\\n  02\n[HKEY_CURRENT_USER\\C]\n\"w\"=dword:3\n",
         {4, 5, 6},
         {"A 1", "C 1"}},
        {"values under an empty key path",
         "[]\n\"y\"=dword:2\n[HKEY_CURRENT_USER\\A]\n",
         {2, 3},
         {"A 0"}},
        {"continued value at the end of the file",
         "[HKEY_CURRENT_USER\\A]\n\"Bin\"=hex:01,\\\n",
         {3},
         {"A 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RegParseResult result = ParseRegFile("REGEDIT4\n" + c.body);
        ASSERT_TRUE(result.document.has_value()) << result.error;
        std::vector<std::size_t> lines;
        for (const RegUnreadableLine& line : result.unreadable) {
            lines.push_back(line.line);
        }
        EXPECT_EQ(lines, c.lines);
        std::vector<std::string> keys;
        for (const RegKey& key : result.document->keys()) {
            keys.push_back(key.path.substr(std::string("HKEY_CURRENT_USER\\").size()) + " " +
                           std::to_string(key.values.size()));
        }
        EXPECT_EQ(keys, c.keys);
    }
}

TEST(RegFileFormatTest, UnreadableLineIsDescribedByItsNumber) {
    const RegParseResult result =
        ParseRegFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"ok\"=dword:1\n\"bad\"=nothing\n");
    ASSERT_EQ(result.unreadable.size(), 1u);
    EXPECT_EQ(DescribeUnreadableLine(result.unreadable[0]), "line 5: unknown value type");
}

TEST(RegFileFormatTest, NewKeysFollowTheTreeOrderAndTheWrittenCase) {
    RegDocument document = ParseOrFail(
        "REGEDIT4\n"
        "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\n"
        "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedCalendars\\01]\n"
        "[HKEY_CURRENT_USER\\Software\\Other]\n");
    document.AddKey("HKEY_CURRENT_USER\\SOFTWARE\\tarvolen\\merkfalter\\KALENDER\\UsedTasks\\AA");
    document.AddKey(
        "HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\usedcalendars\\02");
    document.AddKey("HKEY_CURRENT_USER\\Unrelated");
    document.AddKey("HKEY_CURRENT_USER\\software\\other");  // exists already
    EXPECT_EQ(KeyPaths(document),
              (std::vector<std::string>{
                  "HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender",
                  "HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedCalendars\\01",
                  "HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedCalendars\\02",
                  "HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedTasks\\AA",
                  "HKEY_CURRENT_USER\\Software\\Other",
                  "HKEY_CURRENT_USER\\Unrelated",
              }));
    EXPECT_TRUE(document.KeyExists("HKEY_CURRENT_USER\\software\\tarvolen"));  // implied
    EXPECT_FALSE(document.KeyExists("HKEY_CURRENT_USER\\Software\\Tarvo"));
    EXPECT_EQ(document.SubKeyNames("HKEY_CURRENT_USER\\Software"),
              (std::vector<std::string>{"Tarvolen", "Other"}));
}

}  // namespace
}  // namespace planwarte
