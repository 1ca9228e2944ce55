#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/settings_store.h"

namespace planwarte {

// A settings store in memory for tests. Behaves as the file store does: names without regard
// to letter case, sub-keys in creation order, a key handle reads what was there when it was
// opened plus its own writes. Tests plant and inspect values through the helpers below; paths
// are given as to OpenKey.
class MemorySettingsStore : public SettingsStore {
  public:
    MemorySettingsStore();
    ~MemorySettingsStore() override;

    std::unique_ptr<SettingsKey> OpenKey(std::string_view path, bool create) override;

    // Creates the key (and its parents) when missing.
    void CreateKey(std::string_view path);
    void SetInteger(std::string_view path, std::string_view name, std::int32_t value);
    void SetString(std::string_view path, std::string_view name, std::string_view value);
    // A value of a type the program never reads, such as binary data: every typed read of it
    // fails as a wrongly typed value does.
    void SetRaw(std::string_view path, std::string_view name, std::string_view bytes);

    bool HasKey(std::string_view path) const;
    bool HasValue(std::string_view path, std::string_view name) const;
    // Empty when the value is absent or of another type.
    std::optional<std::int32_t> IntegerValue(std::string_view path, std::string_view name) const;
    std::optional<std::string> StringValue(std::string_view path, std::string_view name) const;
    // Names as first written, in creation order.
    std::vector<std::string> ValueNames(std::string_view path) const;

    // While set, every OpenKey fails, as when the store cannot be reached.
    void SetUnavailable(bool unavailable);
    // Writes made through key handles so far (not the helpers above).
    int WriteCount() const;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace planwarte
