#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/common/date_time.h"

namespace planwarte {

// One mail as the inbox shows it.
struct MaildirMail {
    std::string unique_name;
    std::string entry_id;  // the unique name in hexadecimal: stays when flags or folder change
    std::string path;
    bool unread = true;
    std::string subject;
    std::string body;
    DateTime received_time;
};

// The mails of one Maildir (its new/ and cur/ folders), each file parsed once: a refresh
// reads again only files that are new or whose size or time changed. Not thread-safe.
class MaildirIndex {
  public:
    using TraceSink = std::function<void(const std::string&)>;

    // Unique names of the mails that came, changed (flags, folder or contents) or went.
    struct Changes {
        std::vector<std::string> added;
        std::vector<std::string> changed;
        std::vector<std::string> removed;
    };

    // An empty path is no Maildir: the index stays empty.
    MaildirIndex(std::string maildir, TraceSink trace);

    Changes Refresh();

    // In the order of their unique names.
    std::vector<MaildirMail> Mails() const;
    std::size_t Count() const { return entries_.size(); }
    const std::string& Path() const { return maildir_; }

  private:
    struct FileStamp {
        std::uintmax_t size = 0;
        std::int64_t mtime_ns = 0;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    struct Entry {
        MaildirMail mail;
        FileStamp stamp;
    };
    struct Listed {
        std::string path;
        std::string flags;
        bool in_new = false;
        FileStamp stamp;
    };

    std::map<std::string, Listed> ListFiles() const;
    void Trace(const std::string& line) const;

    std::string maildir_;
    TraceSink trace_;
    std::map<std::string, Entry> entries_;
    // Files that did not read as mail, so that each is traced once until it changes.
    std::map<std::string, FileStamp> unreadable_;
};

}  // namespace planwarte
