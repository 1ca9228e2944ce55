#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/regfile/reg_file_format.h"

namespace planwarte {

// The settings file on disk: loading it, and changing it one step at a time under the lock
// that all Planwarte processes share, so that concurrent changes all survive. What the user
// had is never lost: a file that cannot be read is left alone, one that is no registry export
// is moved aside before a fresh one is started, and before a file with lines that cannot be
// read is rewritten without them, a copy of it as it was is kept beside it.
class SettingsFile {
  public:
    using TraceSink = std::function<void(const std::string&)>;

    SettingsFile(std::string path, TraceSink trace);

    // The document as stored now, without the lines that cannot be read; empty when the file
    // is missing, unreadable or no registry export (such a file is moved aside first).
    RegDocument Load();

    // Applies the change to the current contents and stores the result. Returns the stored
    // document, or nothing when it could not be stored; `what` names the change in the trace.
    std::optional<RegDocument> Change(const std::function<void(RegDocument&)>& change,
                                      std::string_view what);

  private:
    struct Stored {
        RegDocument document;
        std::optional<std::string> bytes;  // the file as it is on disk, when there is one
        std::vector<RegUnreadableLine> unreadable;
    };

    // With the lock held: the current contents, or nothing when the file must not be replaced.
    std::optional<Stored> LoadLocked();
    // Keeps the file as it is beside it, once for each contents: the rewrite drops the lines
    // that cannot be read. False when no copy could be made, so the file must stay.
    bool KeepCopyBeforeRewrite(const Stored& stored, const std::string& not_stored);
    void TraceUnreadableLines(std::string_view bytes,
                              const std::vector<RegUnreadableLine>& unreadable);
    void TraceUnreadable(const std::string& reason);
    void Trace(const std::string& line) const;

    std::string path_;
    std::string lock_path_;
    TraceSink trace_;
    std::atomic<bool> unreadable_traced_{false};
    // Hashes of the contents whose unreadable lines were traced and which were copied aside.
    std::mutex seen_mutex_;
    std::optional<std::size_t> traced_contents_;
    std::optional<std::size_t> copied_contents_;
};

}  // namespace planwarte
