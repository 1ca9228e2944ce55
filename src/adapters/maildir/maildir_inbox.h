#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/outlook/object_model.h"

// The inbox of the object model over a Maildir: the mails in its new/ and cur/ folders.
namespace planwarte {

struct MaildirInboxState;

class MaildirInbox : public OlFolder, public std::enable_shared_from_this<MaildirInbox> {
  public:
    using TraceSink = std::function<void(const std::string&)>;
    // Opens a mail file or the Maildir folder for Display; empty: Display fails.
    using Opener = std::function<void(const std::string& path)>;

    // Reads the Maildir at once. An empty path, or a Maildir that does not exist, is an empty
    // inbox. Make it with std::make_shared: its items lead back to it through Parent.
    MaildirInbox(std::string maildir, TraceSink trace, Opener open = {});
    ~MaildirInbox() override;

    // Reads the folder again: new and changed files are parsed, vanished ones dropped, and
    // the sinks advised on its Items collections still alive hear of it (ItemAdd,
    // ItemChange, ItemRemove, outside any lock).
    // True when mail arrived that was not there before.
    bool Refresh();

    const std::string& MaildirPath() const;

    std::string Name() const override;  // "Posteingang"
    std::string EntryID() const override;
    std::string StoreID() const override;
    int DefaultItemType() const override { return kItemTypeMail; }
    std::shared_ptr<OlFolders> Folders() override;  // none
    std::shared_ptr<OlItems> Items() override;
    std::shared_ptr<OlFolder> Parent() const override { return nullptr; }
    void Display() override;

  private:
    std::shared_ptr<MaildirInboxState> state_;
};

// The inbox when no Maildir is known: always empty.
std::shared_ptr<OlFolder> MakeEmptyInbox();

}  // namespace planwarte
