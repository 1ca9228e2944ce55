#include "adapters/fake/memory_settings_store.h"

#include <gtest/gtest.h>

#include "common/settings_store_contract.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

using testing_support::StoreUnderTest;

class MemoryStoreUnderTest : public StoreUnderTest {
  public:
    SettingsStore& Store() override { return store_; }
    void PlantInteger(const std::string& name, std::int32_t value) override {
        store_.SetInteger(kSettingsKeyPath, name, value);
    }
    void PlantString(const std::string& name, const std::string& value) override {
        store_.SetString(kSettingsKeyPath, name, value);
    }
    void PlantBinary(const std::string& name) override {
        store_.SetRaw(kSettingsKeyPath, name, std::string("\x01\x00\xFF", 3));
    }

  private:
    MemorySettingsStore store_;
};

TEST(MemorySettingsStoreTest, ReadsFollowTheStoreRules) {
    MemoryStoreUnderTest under_test;
    testing_support::CheckReadSemantics(under_test);
}

TEST(MemorySettingsStoreTest, WritesReplaceValuesAndNamesIgnoreCase) {
    MemorySettingsStore store;
    testing_support::CheckWritesAndLetterCase(store);
}

TEST(MemorySettingsStoreTest, HandleSeesItsOpeningStatePlusItsOwnWrites) {
    MemorySettingsStore store;
    testing_support::CheckHandleSnapshot(store);
}

TEST(MemorySettingsStoreTest, KeysAndSubKeys) {
    MemorySettingsStore store;
    testing_support::CheckKeysAndSubKeys(store);
}

TEST(MemorySettingsStoreTest, InspectionHelpersSeeTypesNamesAndOrder) {
    MemorySettingsStore store;
    {
        auto key = store.OpenKey(kSettingsKeyPath, true);
        ASSERT_NE(key, nullptr);
        key->WriteString("Design", "Blau");
        key->WriteInteger("FontSize", 10);
        key->WriteBool("vorHeute", true);
        key->WriteInteger("FONTSIZE", 11);  // replaces, keeps the first spelling
    }
    EXPECT_EQ(store.ValueNames(kSettingsKeyPath),
              (std::vector<std::string>{"Design", "FontSize", "vorHeute"}));
    EXPECT_EQ(store.IntegerValue(kSettingsKeyPath, "fontsize"), 11);
    EXPECT_EQ(store.IntegerValue(kSettingsKeyPath, "vorHeute"), 1);
    EXPECT_EQ(store.IntegerValue(kSettingsKeyPath, "Design"), std::nullopt);
    EXPECT_EQ(store.StringValue(kSettingsKeyPath, "Design"), "Blau");
    EXPECT_EQ(store.StringValue(kSettingsKeyPath, "FontSize"), std::nullopt);
    EXPECT_EQ(store.IntegerValue(kSettingsKeyPath, "Missing"), std::nullopt);
    EXPECT_TRUE(store.HasValue(kSettingsKeyPath, "DESIGN"));
    EXPECT_FALSE(store.HasValue(kSettingsKeyPath, "Missing"));
    EXPECT_EQ(store.WriteCount(), 4);

    store.SetRaw(kSettingsKeyPath, "Design", "\x02");
    EXPECT_EQ(store.StringValue(kSettingsKeyPath, "Design"), std::nullopt);
    EXPECT_TRUE(store.HasValue(kSettingsKeyPath, "Design"));
    EXPECT_EQ(store.WriteCount(), 4);  // planting is no write of the program
}

TEST(MemorySettingsStoreTest, PathsIgnoreCaseAndStraySeparators) {
    MemorySettingsStore store;
    store.SetInteger("Software\\Tarvolen\\Merkfalter\\Kalender\\", "Delay", 4);
    EXPECT_TRUE(store.HasKey("\\software\\\\TARVOLEN\\Merkfalter\\Kalender"));
    EXPECT_TRUE(store.HasKey("\\Software\\Tarvolen"));  // parents exist with their children
    EXPECT_FALSE(store.HasKey("\\Software\\Other"));
    auto key = store.OpenKey("\\SOFTWARE\\Tarvolen\\Merkfalter\\KALENDER", false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadInteger("Delay"), 4);
}

TEST(MemorySettingsStoreTest, UnavailableStoreOpensNothingUntilAvailableAgain) {
    MemorySettingsStore store;
    store.CreateKey(kSettingsKeyPath);
    store.SetUnavailable(true);
    EXPECT_EQ(store.OpenKey(kSettingsKeyPath, false), nullptr);
    EXPECT_EQ(store.OpenKey(kSettingsKeyPath, true), nullptr);
    store.SetUnavailable(false);
    EXPECT_NE(store.OpenKey(kSettingsKeyPath, false), nullptr);
}

TEST(MemorySettingsStoreTest, HandleOutlivingTheStoreStaysUsable) {
    std::unique_ptr<SettingsKey> key;
    {
        MemorySettingsStore store;
        store.SetInteger(kSettingsKeyPath, "Delay", 2);
        key = store.OpenKey(kSettingsKeyPath, false);
    }
    ASSERT_NE(key, nullptr);
    key->WriteInteger("Delay", 3);
    EXPECT_EQ(key->ReadInteger("Delay"), 3);
}

}  // namespace
}  // namespace planwarte
