#include "adapters/regfile/regfile_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/settings_store_contract.h"
#include "common/temp_folder.h"
#include "core/settings/setting_values.h"
#include "regfile/regfile_test_support.h"

namespace planwarte {
namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::TraceLines;
using testing_support::WriteFileBytes;

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
constexpr const char* kKalenderSection =
    "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n";

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class RegFileStoreTest : public ::testing::Test {
  protected:
    std::string FilePath() const { return folder_ / "settings.reg"; }
    RegFileStore MakeStore() { return RegFileStore(FilePath(), trace_.Sink()); }

    TempFolder folder_;
    TraceLines trace_;
};

// Plants values by writing the file as an export made elsewhere would look.
class RegFileUnderTest : public testing_support::StoreUnderTest {
  public:
    explicit RegFileUnderTest(std::string path) : path_(std::move(path)), store_(path_, {}) {}
    SettingsStore& Store() override { return store_; }
    void PlantInteger(const std::string& name, std::int32_t value) override {
        char data[16];
        std::snprintf(data, sizeof data, "dword:%08x", static_cast<unsigned>(value));
        Plant(name, data);
    }
    void PlantString(const std::string& name, const std::string& value) override {
        Plant(name, "\"" + value + "\"");
    }
    void PlantBinary(const std::string& name) override { Plant(name, "hex:01,00,ff"); }

  private:
    void Plant(const std::string& name, const std::string& data) {
        lines_ += "\"" + name + "\"=" + data + "\r\n";
        WriteFileBytes(path_, kHeader + std::string(kKalenderSection) + lines_);
    }

    std::string path_;
    std::string lines_;
    RegFileStore store_;
};

TEST_F(RegFileStoreTest, ReadsFollowTheStoreRules) {
    RegFileUnderTest under_test(FilePath());
    testing_support::CheckReadSemantics(under_test);
}

TEST_F(RegFileStoreTest, WritesReplaceValuesAndNamesIgnoreCase) {
    RegFileStore store = MakeStore();
    testing_support::CheckWritesAndLetterCase(store);
    EXPECT_TRUE(trace_.lines.empty());
}

TEST_F(RegFileStoreTest, HandleSeesItsOpeningStatePlusItsOwnWrites) {
    RegFileStore store = MakeStore();
    testing_support::CheckHandleSnapshot(store);
}

TEST_F(RegFileStoreTest, KeysAndSubKeys) {
    RegFileStore store = MakeStore();
    testing_support::CheckKeysAndSubKeys(store);
}

TEST_F(RegFileStoreTest, WritesTheExportLayout) {
    RegFileStore store = MakeStore();
    {
        auto key = store.OpenKey(kSettingsKeyPath, true);
        ASSERT_NE(key, nullptr);
        key->WriteInteger("VORLAGE", 0);
        key->WriteString("Design", "Standard");
        key->WriteInteger("vorlage", -2);  // replaced in place, first spelling kept
    }
    {
        auto key = store.OpenKey(std::string(kSettingsKeyPath) + "\\UsedCalendars\\0123ABCD", true);
        ASSERT_NE(key, nullptr);
        key->WriteBool("isUsed", true);
    }
    EXPECT_EQ(ReadFileBytes(FilePath()),
              std::string(kHeader) + kKalenderSection +
                  "\"VORLAGE\"=dword:fffffffe\r\n"
                  "\"Design\"=\"Standard\"\r\n"
                  "\r\n"
                  "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender\\UsedCalendars\\"
                  "0123ABCD]\r\n"
                  "\"isUsed\"=dword:00000001\r\n"
                  "\r\n");
    // Nothing is left behind beside the file but the lock.
    EXPECT_EQ(FilesIn(folder_.Path()),
              (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
}

TEST_F(RegFileStoreTest, OpeningWithCreateStoresTheKeyAndWithoutCreateWritesNothing) {
    RegFileStore store = MakeStore();
    EXPECT_EQ(store.OpenKey(kSettingsKeyPath, false), nullptr);
    EXPECT_FALSE(std::filesystem::exists(FilePath()));
    ASSERT_NE(store.OpenKey(kSettingsKeyPath, true), nullptr);
    EXPECT_EQ(ReadFileBytes(FilePath()), std::string(kHeader) + kKalenderSection + "\r\n");
    EXPECT_NE(MakeStore().OpenKey(kSettingsKeyPath, false), nullptr);
}

TEST_F(RegFileStoreTest, KeyPathsThatWouldBreakTheFileAreRefused) {
    RegFileStore store = MakeStore();
    EXPECT_EQ(store.OpenKey("\\Software\\Bad\nKey", true), nullptr);
    EXPECT_EQ(store.OpenKey("\\\\", true), nullptr);
    EXPECT_FALSE(std::filesystem::exists(FilePath()));
}

TEST_F(RegFileStoreTest, AwkwardTextsAndNamesSurviveTheFile) {
    const std::string text =
        "Zeile 1\r\nZeile \"2\" \\ Ende|Gr\xC3\xBC\xC3\x9F"
        "e";
    {
        auto key = MakeStore().OpenKey(kSettingsKeyPath, true);
        ASSERT_NE(key, nullptr);
        key->WriteString("SPAgentHallo", text);
        key->WriteString("Name \"with\" quotes\nand a line", "x");
        key->WriteString("Cut", std::string_view("before\0after", 12));
        key->WriteString("", "the default value");
    }
    auto key = MakeStore().OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadString("SPAgentHallo"), text);
    EXPECT_EQ(key->ReadString("Name \"with\" quotes\nand a line"), "x");
    EXPECT_EQ(key->ReadString("Cut"), "before");
    EXPECT_EQ(key->ReadString(""), "the default value");
}

TEST_F(RegFileStoreTest, ValuesOfOtherTypesAndForeignKeysStayUnchanged) {
    const std::string foreign =
        "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
        "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
        "  17,18,19,1a\r\n"
        "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n";
    const std::string other =
        "[HKEY_LOCAL_MACHINE\\Software\\Someone]\r\n\"x\"=dword:00000001\r\n\r\n";
    WriteFileBytes(FilePath(), kHeader + foreign + "\r\n" + other);
    {
        auto key = MakeStore().OpenKey(kSettingsKeyPath, true);
        ASSERT_NE(key, nullptr);
        EXPECT_THROW(key->ReadInteger("Blob"), SettingsError);
        EXPECT_THROW(key->ReadString("Path"), SettingsError);
        key->WriteInteger("Delay", 4);
    }
    EXPECT_EQ(ReadFileBytes(FilePath()),
              kHeader + foreign + "\"Delay\"=dword:00000004\r\n\r\n" + other);
}

TEST_F(RegFileStoreTest, ReadsAFileBroughtOverFromWindows) {
    // A UTF-16LE export as the registry editor writes it.
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]\r\n"
        u"\"FontSize\"=dword:0000000a\r\n\"SPAgentHallo\"=\"Gr\u00FC\u00DF Gott\"\r\n\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    WriteFileBytes(FilePath(), bytes);
    RegFileStore store = MakeStore();
    {
        auto key = store.OpenKey(kSettingsKeyPath, false);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->ReadInteger("FontSize"), 10);
        EXPECT_EQ(key->ReadString("SPAgentHallo"), "Gr\xC3\xBC\xC3\x9F Gott");
        key->WriteInteger("Delay", 1);
    }
    // The first write turns it into the program's own UTF-8 file, keeping every value.
    EXPECT_EQ(ReadFileBytes(FilePath()),
              std::string(kHeader) + kKalenderSection +
                  "\"FontSize\"=dword:0000000a\r\n\"SPAgentHallo\"=\"Gr\xC3\xBC\xC3\x9F Gott\"\r\n"
                  "\"Delay\"=dword:00000001\r\n\r\n");
    EXPECT_TRUE(trace_.lines.empty());
}

TEST_F(RegFileStoreTest, WriteIsSeenByAnotherStoreAtItsNextOpen) {
    RegFileStore reader = MakeStore();
    RegFileStore writer = MakeStore();
    auto before = reader.OpenKey(kSettingsKeyPath, true);
    ASSERT_NE(before, nullptr);
    auto key = writer.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    key->WriteInteger("xTage", 7);
    EXPECT_FALSE(before->ValueExists("xTage"));  // opened before the write
    auto after = reader.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->ReadInteger("xTage"), 7);
}

TEST_F(RegFileStoreTest, WritesOfTwoHandlesBothSurvive) {
    RegFileStore store = MakeStore();
    auto first = store.OpenKey(kSettingsKeyPath, true);
    auto second = MakeStore().OpenKey(kSettingsKeyPath, true);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    first->WriteInteger("Alpha", 100);
    second->WriteInteger("AlphaAktive", 200);  // its snapshot lacks Alpha; the file keeps it
    auto key = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadInteger("Alpha"), 100);
    EXPECT_EQ(key->ReadInteger("AlphaAktive"), 200);
}

TEST_F(RegFileStoreTest, FileThatIsNoExportIsMovedAsideAndDefaultsAreUsed) {
    const std::vector<std::string> broken = {
        "",
        "not a registry file at all",
        std::string(kKalenderSection) + "\"Delay\"=dword:00000002\r\n",  // no header
        std::string("\x00\x01\x02\xFF", 4),
    };
    for (const std::string& bytes : broken) {
        SCOPED_TRACE(bytes);
        TempFolder folder;
        TraceLines trace;
        const std::string path = folder / "settings.reg";
        WriteFileBytes(path, bytes);
        RegFileStore store(path, trace.Sink());
        EXPECT_EQ(store.OpenKey(kSettingsKeyPath, false), nullptr);

        ASSERT_EQ(trace.lines.size(), 1u);
        const std::vector<std::string> files = FilesIn(folder.Path());
        ASSERT_EQ(files.size(), 2u);  // the moved file and the lock
        const std::string& aside = files[0];
        EXPECT_TRUE(aside.starts_with("settings.reg.broken-")) << aside;
        EXPECT_EQ(aside.size(), std::string("settings.reg.broken-YYYYMMDD-HHMMSS").size());
        EXPECT_NE(trace.lines[0].find(folder / aside), std::string::npos) << trace.lines[0];
        EXPECT_EQ(ReadFileBytes(folder / aside), bytes);

        // The next write starts a fresh file; the moved one stays as it is.
        auto key = store.OpenKey(kSettingsKeyPath, true);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(ReadIntegerSetting(*key, "Delay"), 3);
        key->WriteInteger("Delay", 9);
        auto fresh = RegFileStore(path, {}).OpenKey(kSettingsKeyPath, false);
        ASSERT_NE(fresh, nullptr);
        EXPECT_EQ(fresh->ReadInteger("Delay"), 9);
        EXPECT_EQ(ReadFileBytes(folder / aside), bytes);
    }
}

// Lines as some editors and scripts write them ("\r\r\n", trailing blanks) are read as they
// are meant, without a word in the trace.
TEST_F(RegFileStoreTest, StrayCarriageReturnsAndBlanksAreNoFault) {
    WriteFileBytes(FilePath(), std::string(kHeader) +
                                   "[HKEY_CURRENT_USER\\Software\\Tarvolen\\Merkfalter\\Kalender]"
                                   " \t\r\r\n"
                                   "\"VORLAGE\"=dword:00000001\r\r\n"
                                   "\"Design\"=\"Standard\"\t\r\n");
    RegFileStore store = MakeStore();
    auto key = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadInteger("VORLAGE"), 1);
    EXPECT_EQ(key->ReadString("Design"), "Standard");
    key->WriteInteger("Delay", 2);
    EXPECT_EQ(ReadFileBytes(FilePath()),
              std::string(kHeader) + kKalenderSection +
                  "\"VORLAGE\"=dword:00000001\r\n\"Design\"=\"Standard\"\r\n"
                  "\"Delay\"=dword:00000002\r\n\r\n");
    EXPECT_EQ(FilesIn(folder_.Path()),
              (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
    EXPECT_TRUE(trace_.lines.empty());
}

// A bad line costs only itself. The file stays as it is until the next write, which drops the
// line; a copy of the file as it was is kept first, once.
TEST_F(RegFileStoreTest, UnreadableLineIsTracedAndKeptInACopyBeforeTheNextWrite) {
    const std::string original = std::string(kHeader) + kKalenderSection +
                                 "\"VORLAGE\"=dword:00000001\r\n"
                                 "\"Delay\"=dword:zz\r\n"
                                 "\"Design\"=\"Standard\"\r\n"
                                 "\r\n";
    WriteFileBytes(FilePath(), original);
    RegFileStore store = MakeStore();
    for (int open = 0; open < 2; ++open) {
        auto key = store.OpenKey(kSettingsKeyPath, false);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->ReadInteger("VORLAGE"), 1);
        EXPECT_EQ(key->ReadString("Design"), "Standard");
        EXPECT_FALSE(key->ValueExists("Delay"));
    }
    ASSERT_EQ(trace_.lines.size(), 1u);  // once for the file, not at every open
    EXPECT_NE(trace_.lines[0].find("line 5: bad dword value"), std::string::npos)
        << trace_.lines[0];
    EXPECT_EQ(ReadFileBytes(FilePath()), original);
    EXPECT_EQ(FilesIn(folder_.Path()), std::vector<std::string>{"settings.reg"});

    auto key = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    key->WriteInteger("Delay", 4);
    key->WriteInteger("Delay", 5);
    const std::vector<std::string> files = FilesIn(folder_.Path());
    ASSERT_EQ(files.size(), 3u);  // one copy, however many writes follow
    const std::string copy = files[1];
    EXPECT_TRUE(copy.starts_with("settings.reg.broken-")) << copy;
    EXPECT_EQ(ReadFileBytes(folder_ / copy), original);
    ASSERT_EQ(trace_.lines.size(), 2u);
    EXPECT_NE(trace_.lines[1].find(folder_ / copy), std::string::npos) << trace_.lines[1];
    EXPECT_EQ(ReadFileBytes(FilePath()), std::string(kHeader) + kKalenderSection +
                                             "\"VORLAGE\"=dword:00000001\r\n"
                                             "\"Design\"=\"Standard\"\r\n"
                                             "\"Delay\"=dword:00000005\r\n\r\n");
}

// The copy is of the state that has the bad line: a second process writing after the first
// finds a file without it and makes none.
TEST_F(RegFileStoreTest, TwoStoresWritingAfterAnUnreadableLineMakeOneCopy) {
    WriteFileBytes(FilePath(), std::string(kHeader) + kKalenderSection +
                                   "\"Blob\"=hex:01,\\\r\n  zz\r\n\"VORLAGE\"=dword:00000001\r\n");
    RegFileStore first = MakeStore();
    RegFileStore second = MakeStore();
    auto first_key = first.OpenKey(kSettingsKeyPath, false);
    auto second_key = second.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(first_key, nullptr);
    ASSERT_NE(second_key, nullptr);
    first_key->WriteInteger("Alpha", 1);
    second_key->WriteInteger("Beta", 2);
    const std::vector<std::string> files = FilesIn(folder_.Path());
    EXPECT_EQ(files.size(), 3u);
    auto key = MakeStore().OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadInteger("VORLAGE"), 1);
    EXPECT_EQ(key->ReadInteger("Alpha"), 1);
    EXPECT_EQ(key->ReadInteger("Beta"), 2);
}

TEST_F(RegFileStoreTest, BrokenFilesMovedAsideInTheSameSecondGetNumbers) {
    RegFileStore store = MakeStore();
    for (int i = 0; i < 3; ++i) {
        WriteFileBytes(FilePath(), "broken " + std::to_string(i));
        EXPECT_EQ(store.OpenKey(kSettingsKeyPath, false), nullptr);
    }
    const std::vector<std::string> files = FilesIn(folder_.Path());
    ASSERT_EQ(files.size(), 4u);
    std::vector<std::string> contents;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(files[i].starts_with("settings.reg.broken-")) << files[i];
        contents.push_back(ReadFileBytes(folder_ / files[i]));
    }
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"broken 0", "broken 1", "broken 2"}));
}

TEST_F(RegFileStoreTest, FileThatCannotBeReadIsNeverReplaced) {
    struct Case {
        const char* name;
        bool (*make)(const std::string& path);
    };
    const std::vector<Case> cases = {
        {"a folder in its place",
         [](const std::string& path) { return std::filesystem::create_directory(path); }},
        {"no read permission",
         [](const std::string& path) {
             WriteFileBytes(
                 path, std::string(kHeader) + kKalenderSection + "\"Delay\"=dword:00000002\r\n");
             ::chmod(path.c_str(), 0200);
             // Someone who reads everything anyway (root) cannot run this case.
             return ::access(path.c_str(), R_OK) != 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        TraceLines trace;
        const std::string path = folder / "settings.reg";
        if (!c.make(path)) {
            continue;
        }
        struct stat before;
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        RegFileStore store(path, trace.Sink());
        auto key = store.OpenKey(kSettingsKeyPath, true);
        ASSERT_NE(key, nullptr);  // the program goes on with the defaults
        EXPECT_FALSE(key->ValueExists("Delay"));
        key->WriteInteger("Delay", 5);
        EXPECT_EQ(key->ReadInteger("Delay"), 5);  // the handle keeps its own write

        struct stat after;
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mtime, before.st_mtime);
        EXPECT_EQ(after.st_size, before.st_size);
        EXPECT_EQ(FilesIn(folder.Path()),
                  (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
        EXPECT_GE(trace.lines.size(), 2u);  // the unreadable file and the lost write
        ::chmod(path.c_str(), 0600);
    }
}

TEST_F(RegFileStoreTest, MissingFoldersAreCreatedPrivate) {
    const std::string path = folder_ / "config/planwarte/settings.reg";
    RegFileStore store(path, trace_.Sink());
    ASSERT_NE(store.OpenKey(kSettingsKeyPath, true), nullptr);
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    for (const char* folder : {"config", "config/planwarte"}) {
        struct stat info;
        ASSERT_EQ(::stat((folder_ / folder).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    }
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(RegFileStoreTest, ReplacementKeepsPermissionsAndFollowsALink) {
    const std::string real = folder_ / "dotfiles.reg";
    WriteFileBytes(real, std::string(kHeader) + kKalenderSection);
    ::chmod(real.c_str(), 0640);
    std::filesystem::create_symlink(real, FilePath());
    auto key = MakeStore().OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    key->WriteInteger("Delay", 6);
    EXPECT_TRUE(std::filesystem::is_symlink(FilePath()));
    EXPECT_EQ(ReadFileBytes(real),
              std::string(kHeader) + kKalenderSection + "\"Delay\"=dword:00000006\r\n\r\n");
    struct stat info;
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

class DefaultSettingsPathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override {
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            Set(kNames[i], saved_[i]);
        }
    }
    static void Set(const char* name, const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }

    static constexpr const char* kNames[] = {"PLANWARTE_SETTINGS", "XDG_CONFIG_HOME", "HOME"};
    std::vector<std::optional<std::string>> saved_;
};

TEST_F(DefaultSettingsPathTest, ChosenFileThenConfigurationFolderThenHome) {
    struct Case {
        const char* name;
        std::optional<std::string> settings;
        std::optional<std::string> config_home;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"named file wins", "/tmp/other.reg", "/cfg", "/tmp/other.reg"},
        {"empty name is ignored", "", "/cfg", "/cfg/planwarte/settings.reg"},
        {"configuration folder", std::nullopt, "/cfg", "/cfg/planwarte/settings.reg"},
        {"no configuration folder", std::nullopt, std::nullopt,
         "/home/user/.config/planwarte/settings.reg"},
        {"empty configuration folder", std::nullopt, "",
         "/home/user/.config/planwarte/settings.reg"},
        {"relative configuration folder", std::nullopt, "cfg",
         "/home/user/.config/planwarte/settings.reg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Set("PLANWARTE_SETTINGS", c.settings);
        Set("XDG_CONFIG_HOME", c.config_home);
        Set("HOME", "/home/user");
        EXPECT_EQ(RegFileStore::DefaultSettingsPath(), c.expected);
    }
}

}  // namespace
}  // namespace planwarte
