#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte::testing_support {

// What every settings store must do, checked the same way for each implementation. A store
// under test gives access to the store and a way to put values into its backing storage
// directly, including a value of a type the program never reads.
class StoreUnderTest {
  public:
    virtual ~StoreUnderTest() = default;
    virtual SettingsStore& Store() = 0;
    // All in the settings key; the key is created with the first value.
    virtual void PlantInteger(const std::string& name, std::int32_t value) = 0;
    virtual void PlantString(const std::string& name, const std::string& value) = 0;
    virtual void PlantBinary(const std::string& name) = 0;
};

// Absent and wrongly typed values: integer and bool reads fail, a string read gives the
// empty text for an absent value and fails only for another type.
inline void CheckReadSemantics(StoreUnderTest& under_test) {
    enum class Stored { kAbsent, kInteger, kString, kBinary };
    struct Case {
        const char* name;
        Stored stored;
        std::int32_t integer;
        const char* text;
        std::optional<std::int32_t> read_integer;  // empty: the read fails
        std::optional<bool> read_bool;
        std::optional<std::string> read_string;
        bool exists;
    };
    const std::vector<Case> cases = {
        {"Absent", Stored::kAbsent, 0, "", std::nullopt, std::nullopt, "", false},
        {"Zero", Stored::kInteger, 0, "", 0, false, std::nullopt, true},
        {"One", Stored::kInteger, 1, "", 1, true, std::nullopt, true},
        {"OtherNonZero", Stored::kInteger, 42, "", 42, true, std::nullopt, true},
        {"Negative", Stored::kInteger, -1, "", -1, true, std::nullopt, true},
        {"Smallest", Stored::kInteger, INT32_MIN, "", INT32_MIN, true, std::nullopt, true},
        {"Text", Stored::kString, 0, "Standard", std::nullopt, std::nullopt, "Standard", true},
        {"NumberAsText", Stored::kString, 0, "1", std::nullopt, std::nullopt, "1", true},
        {"EmptyText", Stored::kString, 0, "", std::nullopt, std::nullopt, "", true},
        {"Binary", Stored::kBinary, 0, "", std::nullopt, std::nullopt, std::nullopt, true},
    };
    for (const Case& c : cases) {
        switch (c.stored) {
            case Stored::kAbsent:
                break;
            case Stored::kInteger:
                under_test.PlantInteger(c.name, c.integer);
                break;
            case Stored::kString:
                under_test.PlantString(c.name, c.text);
                break;
            case Stored::kBinary:
                under_test.PlantBinary(c.name);
                break;
        }
    }
    under_test.PlantInteger("Anchor", 0);  // the key exists even when no case stores a value
    auto key = under_test.Store().OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.read_integer) {
            EXPECT_EQ(key->ReadInteger(c.name), *c.read_integer);
        } else {
            EXPECT_THROW(key->ReadInteger(c.name), SettingsError);
        }
        if (c.read_bool) {
            EXPECT_EQ(key->ReadBool(c.name), *c.read_bool);
        } else {
            EXPECT_THROW(key->ReadBool(c.name), SettingsError);
        }
        if (c.read_string) {
            EXPECT_EQ(key->ReadString(c.name), *c.read_string);
        } else {
            EXPECT_THROW(key->ReadString(c.name), SettingsError);
        }
        EXPECT_EQ(key->ValueExists(c.name), c.exists);
    }
}

// Written values come back with their type, a later write replaces an earlier one whatever
// its type was, and names match without regard to letter case.
inline void CheckWritesAndLetterCase(SettingsStore& store) {
    {
        auto key = store.OpenKey(kSettingsKeyPath, true);
        ASSERT_NE(key, nullptr);
        key->WriteInteger("FontSize", 12);
        key->WriteBool("vorHeute", false);
        key->WriteString("Design", "Blau \"hell\" C:\\Vorlagen");
        key->WriteString("Changing", "text first");
        key->WriteInteger("changing", -7);
    }
    auto key = store.OpenKey("\\SOFTWARE\\tarvolen\\MERKFALTER\\kalender", false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadInteger("fontsize"), 12);
    EXPECT_FALSE(key->ReadBool("VORHEUTE"));
    EXPECT_EQ(key->ReadInteger("vorHeute"), 0);
    EXPECT_EQ(key->ReadString("design"), "Blau \"hell\" C:\\Vorlagen");
    EXPECT_EQ(key->ReadInteger("Changing"), -7);
    EXPECT_THROW(key->ReadString("CHANGING"), SettingsError);
}

// A handle reads the key as it was opened plus its own writes; later handles see everything.
inline void CheckHandleSnapshot(SettingsStore& store) {
    auto first = store.OpenKey(kSettingsKeyPath, true);
    ASSERT_NE(first, nullptr);
    auto second = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(second, nullptr);
    first->WriteInteger("Alpha", 200);
    second->WriteInteger("Delay", 7);
    EXPECT_EQ(first->ReadInteger("Alpha"), 200);
    EXPECT_FALSE(first->ValueExists("Delay"));
    EXPECT_EQ(second->ReadInteger("Delay"), 7);
    EXPECT_FALSE(second->ValueExists("Alpha"));
    auto third = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->ReadInteger("Alpha"), 200);
    EXPECT_EQ(third->ReadInteger("Delay"), 7);
}

// Missing keys open only with create; sub-keys are listed in creation order, by the names
// they were created with, direct children only.
inline void CheckKeysAndSubKeys(SettingsStore& store) {
    const std::string calendars = std::string(kSettingsKeyPath) + "\\UsedCalendars";
    EXPECT_EQ(store.OpenKey(calendars, false), nullptr);
    EXPECT_EQ(store.OpenKey("", true), nullptr);
    for (const char* id : {"FFEE01", "0123ABCD", "77"}) {
        EXPECT_NE(store.OpenKey(calendars + "\\" + id, true), nullptr);
    }
    EXPECT_NE(store.OpenKey(calendars + "\\0123abcd", true), nullptr);  // the same key again
    EXPECT_NE(store.OpenKey(calendars + "\\77\\Deeper", true), nullptr);
    auto parent = store.OpenKey(calendars, false);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->SubKeyNames(), (std::vector<std::string>{"FFEE01", "0123ABCD", "77"}));
    auto root = store.OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->SubKeyNames(), std::vector<std::string>{"UsedCalendars"});
    auto leaf = store.OpenKey(calendars + "\\FFEE01", false);
    ASSERT_NE(leaf, nullptr);
    EXPECT_TRUE(leaf->SubKeyNames().empty());
}

}  // namespace planwarte::testing_support
