#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/settings/settings_store.h"

namespace planwarte {

class SettingsFile;

// The settings store as a registry-export text file, so the settings of a Windows
// installation can be brought over as they are. Store paths map to keys under
// HKEY_CURRENT_USER. Every OpenKey reads the file afresh, so a change made by another process
// is seen at the next open; every write is stored at once, atomically and under a lock that
// all Planwarte processes take. Failures never reach the caller: they are traced, and reads
// then give the defaults.
class RegFileStore : public SettingsStore {
  public:
    RegFileStore(std::string path, std::function<void(const std::string&)> trace);
    ~RegFileStore() override;

    // $PLANWARTE_SETTINGS when set; otherwise settings.reg in the user's configuration folder
    // ($XDG_CONFIG_HOME/planwarte, else ~/.config/planwarte).
    static std::string DefaultSettingsPath();

    std::unique_ptr<SettingsKey> OpenKey(std::string_view path, bool create) override;

  private:
    std::shared_ptr<SettingsFile> file_;
};

}  // namespace planwarte
