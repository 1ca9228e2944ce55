#pragma once

#include <memory>
#include <optional>
#include <string>

#include "adapters/maildir/maildir_inbox_state.h"
#include "adapters/maildir/maildir_index.h"
#include "core/outlook/object_model.h"

namespace planwarte {

// One mail as it was when its Items collection read the inbox.
class MaildirMailItem : public OlMailItem, public std::enable_shared_from_this<MaildirMailItem> {
  public:
    MaildirMailItem(std::shared_ptr<MaildirInboxState> state, std::weak_ptr<OlFolder> folder,
                    MaildirMail mail);

    std::string EntryID() const override { return mail_.entry_id; }
    std::string Subject() const override { return mail_.subject; }
    std::shared_ptr<OlFolder> Parent() const override;
    void Display() override;
    std::string Body() const override { return mail_.body; }
    DateTime ReceivedTime() const override { return mail_.received_time; }
    bool UnRead() const override { return mail_.unread; }
    std::shared_ptr<OlUserProperties> UserProperties() override;

  private:
    std::shared_ptr<MaildirInboxState> state_;
    std::weak_ptr<OlFolder> folder_;
    MaildirMail mail_;
};

}  // namespace planwarte
