#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "adapters/regfile/reg_file_format.h"

namespace planwarte {

// The settings file on disk: loading it, and changing it one step at a time under the lock
// that all Planwarte processes share, so that concurrent changes all survive. What the user
// had is never lost: a file that cannot be read is left alone, one that does not parse is
// moved aside before a fresh one is started.
class SettingsFile {
  public:
    using TraceSink = std::function<void(const std::string&)>;

    SettingsFile(std::string path, TraceSink trace);

    // The document as stored now; empty when the file is missing, unreadable or broken (a
    // broken file is moved aside first).
    RegDocument Load();

    // Applies the change to the current contents and stores the result. Returns the stored
    // document, or nothing when it could not be stored; `what` names the change in the trace.
    std::optional<RegDocument> Change(const std::function<void(RegDocument&)>& change,
                                      std::string_view what);

  private:
    // With the lock held: the current document, or nothing when the file must not be
    // replaced. `stored` receives the file's bytes as they are on disk.
    std::optional<RegDocument> LoadLocked(std::optional<std::string>& stored);
    void TraceUnreadable(const std::string& reason);
    void Trace(const std::string& line) const;

    std::string path_;
    std::string lock_path_;
    TraceSink trace_;
    std::atomic<bool> unreadable_traced_{false};
};

}  // namespace planwarte
