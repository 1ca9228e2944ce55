#include "adapters/maildir/maildir_index.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include "adapters/maildir/mail_reader.h"
#include "adapters/maildir/maildir_file_name.h"

namespace planwarte {

namespace {

// Seconds since 1970 as a local date-time; nullopt outside what a DateTime holds.
std::optional<DateTime> LocalDateTime(std::int64_t seconds) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return std::nullopt;
    }
    try {
        return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min, local.tm_sec);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

MaildirIndex::MaildirIndex(std::string maildir, TraceSink trace)
    : maildir_(std::move(maildir)), trace_(std::move(trace)) {}

void MaildirIndex::Trace(const std::string& line) const {
    if (trace_) {
        trace_(line);
    }
}

std::map<std::string, MaildirIndex::Listed> MaildirIndex::ListFiles() const {
    std::map<std::string, Listed> listed;
    if (maildir_.empty()) {
        return listed;
    }
    // new/ before cur/: a mail that a client moves on meanwhile is then still seen in cur/.
    for (const char* sub : {"new", "cur"}) {
        const std::filesystem::path folder = std::filesystem::path(maildir_) / sub;
        std::error_code error;
        std::filesystem::directory_iterator it(folder, error);
        if (error) {
            continue;  // a missing folder holds no mail
        }
        for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (name.empty() || name[0] == '.') {
                continue;
            }
            struct stat status {};
            if (::stat(it->path().c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
                continue;
            }
            const MaildirFileName parts = SplitMaildirFileName(name);
            Listed entry;
            entry.path = it->path().string();
            entry.flags = parts.flags;
            entry.in_new = std::string_view(sub) == "new";
            entry.stamp = {static_cast<std::uintmax_t>(status.st_size),
                           static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                               status.st_mtim.tv_nsec};
            listed[parts.unique_name] = std::move(entry);
        }
        if (error) {
            Trace("Maildir: cannot list " + folder.string() + ": " + error.message());
        }
    }
    return listed;
}

MaildirIndex::Changes MaildirIndex::Refresh() {
    Changes changes;
    const std::map<std::string, Listed> listed = ListFiles();
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (listed.count(it->first) == 0) {
            changes.removed.push_back(it->first);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = unreadable_.begin(); it != unreadable_.end();) {
        it = listed.count(it->first) == 0 ? unreadable_.erase(it) : std::next(it);
    }
    for (const auto& [unique_name, file] : listed) {
        const bool unread = file.in_new || file.flags.find('S') == std::string::npos;
        auto known = entries_.find(unique_name);
        if (known != entries_.end() && known->second.stamp == file.stamp) {
            MaildirMail& mail = known->second.mail;
            if (mail.unread != unread || mail.path != file.path) {
                mail.unread = unread;
                mail.path = file.path;
                changes.changed.push_back(unique_name);
            }
            continue;
        }
        auto broken = unreadable_.find(unique_name);
        if (broken != unreadable_.end() && broken->second == file.stamp) {
            continue;
        }
        const std::optional<std::string> bytes = ReadWholeFile(file.path);
        if (!bytes) {
            continue;  // gone since the listing; the next refresh sees where it went
        }
        std::optional<MailContents> contents = ReadMail(*bytes);
        if (!contents) {
            Trace("Maildir: skipped a file that is no mail message: " + file.path);
            unreadable_[unique_name] = file.stamp;
            if (known != entries_.end()) {
                entries_.erase(known);
                changes.removed.push_back(unique_name);
            }
            continue;
        }
        unreadable_.erase(unique_name);
        MaildirMail mail;
        mail.unique_name = unique_name;
        mail.entry_id = UppercaseHex(unique_name);
        mail.path = file.path;
        mail.unread = unread;
        mail.subject = std::move(contents->subject);
        mail.body = std::move(contents->body);
        std::optional<DateTime> received =
            contents->date ? LocalDateTime(*contents->date) : std::nullopt;
        if (!received) {
            received = LocalDateTime(file.stamp.mtime_ns / 1'000'000'000);
        }
        mail.received_time = received.value_or(DateTime());
        (known == entries_.end() ? changes.added : changes.changed).push_back(unique_name);
        entries_[unique_name] = {std::move(mail), file.stamp};
    }
    return changes;
}

std::vector<MaildirMail> MaildirIndex::Mails() const {
    std::vector<MaildirMail> mails;
    mails.reserve(entries_.size());
    for (const auto& [name, entry] : entries_) {
        mails.push_back(entry.mail);
    }
    return mails;
}

}  // namespace planwarte
