#include "adapters/maildir/maildir_inbox.h"

#include <algorithm>
#include <cstdint>

#include "adapters/maildir/maildir_file_name.h"
#include "adapters/maildir/maildir_inbox_state.h"
#include "adapters/maildir/maildir_items.h"

namespace planwarte {

namespace {

// FNV-1a: the same text gives the same ID in every run.
std::string StableId(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    std::string bytes;
    for (int shift = 56; shift >= 0; shift -= 8) {
        bytes += static_cast<char>((hash >> shift) & 0xFF);
    }
    return UppercaseHex(bytes);
}

class NoFolders : public OlFolders {
  public:
    int Count() const override { return 0; }
    std::shared_ptr<OlFolder> Item(int) override {
        throw OutlookError("Folders.Item", "index out of range");
    }
};

}  // namespace

MaildirInbox::MaildirInbox(std::string maildir, TraceSink trace, Opener open)
    : state_(std::make_shared<MaildirInboxState>(std::move(maildir), std::move(trace),
                                                 std::move(open))) {
    state_->index.Refresh();
}

MaildirInbox::~MaildirInbox() = default;

bool MaildirInbox::Refresh() {
    std::vector<std::shared_ptr<MaildirMailItem>> added;
    std::vector<std::shared_ptr<MaildirMailItem>> changed;
    std::size_t removed = 0;
    std::vector<std::shared_ptr<MaildirItems>> collections;
    {
        std::lock_guard lock(state_->mutex);
        for (const std::weak_ptr<MaildirItems>& weak : state_->collections) {
            if (std::shared_ptr<MaildirItems> collection = weak.lock()) {
                collections.push_back(std::move(collection));
            }
        }
        const MaildirIndex::Changes changes = state_->index.Refresh();
        removed = changes.removed.size();
        if (!changes.added.empty() || !changes.changed.empty()) {
            const std::weak_ptr<OlFolder> self = weak_from_this();
            for (MaildirMail& mail : state_->index.Mails()) {
                const auto in = [&](const std::vector<std::string>& names) {
                    return std::find(names.begin(), names.end(), mail.unique_name) != names.end();
                };
                if (in(changes.added)) {
                    added.push_back(std::make_shared<MaildirMailItem>(state_, self, mail));
                } else if (in(changes.changed)) {
                    changed.push_back(std::make_shared<MaildirMailItem>(state_, self, mail));
                }
            }
        }
    }
    // Outside the lock: a sink may well read the inbox again.
    for (const std::shared_ptr<MaildirItems>& collection : collections) {
        for (const auto& item : added) {
            collection->Events().ItemAdd(item);
        }
        for (const auto& item : changed) {
            collection->Events().ItemChange(item);
        }
        for (std::size_t i = 0; i < removed; ++i) {
            collection->Events().ItemRemove();
        }
    }
    return !added.empty();
}

const std::string& MaildirInbox::MaildirPath() const {
    return state_->index.Path();
}

std::string MaildirInbox::Name() const {
    return "Posteingang";
}

std::string MaildirInbox::EntryID() const {
    return StableId("maildir-inbox:" + MaildirPath());
}

std::string MaildirInbox::StoreID() const {
    return StableId("maildir-store:" + MaildirPath());
}

std::shared_ptr<OlFolders> MaildirInbox::Folders() {
    return std::make_shared<NoFolders>();
}

std::shared_ptr<OlItems> MaildirInbox::Items() {
    auto items = std::make_shared<MaildirItems>(state_, weak_from_this());
    std::lock_guard lock(state_->mutex);
    std::erase_if(state_->collections,
                  [](const std::weak_ptr<MaildirItems>& c) { return c.expired(); });
    state_->collections.push_back(items);
    return items;
}

void MaildirInbox::Display() {
    if (MaildirPath().empty()) {
        throw OutlookError("Display", "no Maildir is known");
    }
    if (!state_->open) {
        throw OutlookError("Display", "no command opens mail");
    }
    state_->open(MaildirPath());
}

std::shared_ptr<OlFolder> MakeEmptyInbox() {
    return std::make_shared<MaildirInbox>(std::string(), MaildirInbox::TraceSink());
}

}  // namespace planwarte
