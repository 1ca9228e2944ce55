#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace planwarte {

// A read of a value that is absent or of another type than asked for.
class SettingsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One opened key of the per-user settings store. Reads see the key as it was when it was
// opened plus this handle's own writes; every write is stored at once. Closing is destruction.
class SettingsKey {
  public:
    virtual ~SettingsKey() = default;

    // Throw SettingsError when the value is absent or not an integer.
    virtual std::int32_t ReadInteger(std::string_view name) = 0;
    virtual bool ReadBool(std::string_view name) = 0;
    // The empty text for an absent value; throws SettingsError for a value of another type.
    virtual std::string ReadString(std::string_view name) = 0;

    virtual bool ValueExists(std::string_view name) = 0;

    virtual void WriteInteger(std::string_view name, std::int32_t value) = 0;
    virtual void WriteBool(std::string_view name, bool value) = 0;
    virtual void WriteString(std::string_view name, std::string_view value) = 0;

    // Names of the direct sub-keys, in the store's order.
    virtual std::vector<std::string> SubKeyNames() = 0;
};

// The per-user root. Paths are absolute, with "\" between the parts, for example
// "\Software\Tarvolen\Merkfalter\Kalender\UsedCalendars\0123ABCD"; letter case does not matter.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // Null when the key cannot be opened (or does not exist and create is false).
    virtual std::unique_ptr<SettingsKey> OpenKey(std::string_view path, bool create) = 0;
};

}  // namespace planwarte
