#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "adapters/maildir/maildir_inbox.h"
#include "adapters/maildir/maildir_index.h"
#include "core/outlook/object_model.h"

// What the inbox, its Items collections and its mail items share.
namespace planwarte {

class MaildirItems;

struct UserPropertyRecord {
    std::string name;
    int type = 0;
    Variant value;
};

struct MaildirInboxState {
    MaildirInboxState(std::string maildir, MaildirInbox::TraceSink trace,
                      MaildirInbox::Opener opener)
        : index(std::move(maildir), std::move(trace)), open(std::move(opener)) {}

    std::mutex mutex;  // guards everything below
    MaildirIndex index;
    // By the mail's EntryID, so that they outlive the item objects and survive a refresh.
    std::map<std::string, std::vector<UserPropertyRecord>> user_properties;
    // The Items collections handed out; a refresh tells the sinks of those still alive.
    std::vector<std::weak_ptr<MaildirItems>> collections;
    const MaildirInbox::Opener open;
};

}  // namespace planwarte
