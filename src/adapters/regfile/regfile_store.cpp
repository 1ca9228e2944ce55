#include "adapters/regfile/regfile_store.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "adapters/regfile/reg_file_format.h"
#include "adapters/regfile/settings_file.h"
#include "core/settings/key_names.h"

namespace planwarte {

namespace {

constexpr std::string_view kHive = "HKEY_CURRENT_USER";

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string HomeFolder() {
    std::string home = EnvironmentValue("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid())) {
            home = entry->pw_dir;
        }
    }
    return home;
}

// Control characters would break the line structure of the file.
bool IsUsableKeyPart(std::string_view part) {
    return std::none_of(part.begin(), part.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

class RegFileKey : public SettingsKey {
  public:
    RegFileKey(std::shared_ptr<SettingsFile> file, std::string path, RegKey snapshot,
               std::vector<std::string> sub_keys)
        : file_(std::move(file)),
          path_(std::move(path)),
          snapshot_(std::move(snapshot)),
          sub_keys_(std::move(sub_keys)) {}

    std::int32_t ReadInteger(std::string_view name) override {
        const RegValue* value = FindValue(snapshot_, name);
        if (value == nullptr) {
            throw SettingsError("value " + std::string(name) + " is absent");
        }
        if (value->type != RegValueType::kDword) {
            throw SettingsError("value " + std::string(name) + " is not a dword");
        }
        return static_cast<std::int32_t>(value->dword);
    }

    bool ReadBool(std::string_view name) override { return ReadInteger(name) != 0; }

    std::string ReadString(std::string_view name) override {
        const RegValue* value = FindValue(snapshot_, name);
        if (value == nullptr) {
            return {};
        }
        if (value->type != RegValueType::kString) {
            throw SettingsError("value " + std::string(name) + " is not a text");
        }
        return value->data;
    }

    bool ValueExists(std::string_view name) override {
        return FindValue(snapshot_, name) != nullptr;
    }

    void WriteInteger(std::string_view name, std::int32_t value) override {
        Write(RegValue{
            std::string(name), RegValueType::kDword, static_cast<std::uint32_t>(value), {}});
    }

    void WriteBool(std::string_view name, bool value) override {
        WriteInteger(name, value ? 1 : 0);
    }

    void WriteString(std::string_view name, std::string_view value) override {
        // A stored text ends at its first NUL character, as in the registry.
        Write(RegValue{std::string(name), RegValueType::kString, 0,
                       std::string(value.substr(0, value.find('\0')))});
    }

    std::vector<std::string> SubKeyNames() override { return sub_keys_; }

  private:
    void Write(const RegValue& value) {
        // This handle sees its own write even when it could not be stored (that is traced).
        PutValue(snapshot_, value);
        file_->Change([&](RegDocument& document) { PutValue(document.AddKey(path_), value); },
                      "value " + value.name + " of " + path_);
    }

    std::shared_ptr<SettingsFile> file_;
    std::string path_;
    RegKey snapshot_;
    std::vector<std::string> sub_keys_;
};

}  // namespace

RegFileStore::RegFileStore(std::string path, std::function<void(const std::string&)> trace)
    : file_(std::make_shared<SettingsFile>(std::move(path), std::move(trace))) {}

RegFileStore::~RegFileStore() = default;

std::string RegFileStore::DefaultSettingsPath() {
    const std::string chosen = EnvironmentValue("PLANWARTE_SETTINGS");
    if (!chosen.empty()) {
        return chosen;
    }
    std::string config = EnvironmentValue("XDG_CONFIG_HOME");
    // A relative configuration folder is to be ignored.
    if (config.empty() || config.front() != '/') {
        config = HomeFolder() + "/.config";
    }
    return config + "/planwarte/settings.reg";
}

std::unique_ptr<SettingsKey> RegFileStore::OpenKey(std::string_view path, bool create) {
    const std::vector<std::string> parts = SplitKeyPath(path);
    if (parts.empty() || !std::all_of(parts.begin(), parts.end(), IsUsableKeyPart)) {
        return nullptr;
    }
    std::string full(kHive);
    for (const std::string& part : parts) {
        full += "\\" + part;
    }
    RegDocument document = file_->Load();
    if (!document.KeyExists(full)) {
        if (!create) {
            return nullptr;
        }
        // When the key cannot be stored, the handle still serves the defaults; its writes are
        // tried again, and traced when they fail.
        document = file_->Change([&](RegDocument& stored) { stored.AddKey(full); }, "key " + full)
                       .value_or(RegDocument{});
    }
    const RegKey* key = document.FindKey(full);
    return std::make_unique<RegFileKey>(file_, full, key ? *key : RegKey{full, {}},
                                        document.SubKeyNames(full));
}

}  // namespace planwarte
