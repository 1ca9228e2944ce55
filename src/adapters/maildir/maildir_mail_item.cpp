#include "adapters/maildir/maildir_mail_item.h"

#include <algorithm>

namespace planwarte {

namespace {

// A Yes/No property starts as No, every other kind without a value.
constexpr int kUserPropertyYesNo = 6;

class MaildirUserProperty : public OlUserProperty {
  public:
    MaildirUserProperty(std::shared_ptr<MaildirInboxState> state, std::string entry_id,
                        std::size_t index)
        : state_(std::move(state)), entry_id_(std::move(entry_id)), index_(index) {}

    std::string Name() const override {
        std::lock_guard lock(state_->mutex);
        return Record().name;
    }
    Variant Value() const override {
        std::lock_guard lock(state_->mutex);
        return Record().value;
    }
    void SetValue(const Variant& value) override {
        std::lock_guard lock(state_->mutex);
        Record().value = value;
    }

  private:
    // Properties are only ever added, so the index stays valid.
    UserPropertyRecord& Record() const { return state_->user_properties[entry_id_].at(index_); }

    std::shared_ptr<MaildirInboxState> state_;
    std::string entry_id_;
    std::size_t index_;
};

class MaildirUserProperties : public OlUserProperties {
  public:
    MaildirUserProperties(std::shared_ptr<MaildirInboxState> state, std::string entry_id)
        : state_(std::move(state)), entry_id_(std::move(entry_id)) {}

    int Count() const override {
        std::lock_guard lock(state_->mutex);
        return static_cast<int>(state_->user_properties[entry_id_].size());
    }

    std::shared_ptr<OlUserProperty> Item(int index) override {
        std::lock_guard lock(state_->mutex);
        if (index < 1 || index > static_cast<int>(state_->user_properties[entry_id_].size())) {
            throw OutlookError("UserProperties.Item", "index out of range");
        }
        return std::make_shared<MaildirUserProperty>(state_, entry_id_,
                                                     static_cast<std::size_t>(index - 1));
    }

    std::shared_ptr<OlUserProperty> Add(const std::string& name, int type, bool, int) override {
        std::lock_guard lock(state_->mutex);
        std::vector<UserPropertyRecord>& properties = state_->user_properties[entry_id_];
        if (std::any_of(properties.begin(), properties.end(),
                        [&](const UserPropertyRecord& p) { return p.name == name; })) {
            throw OutlookError("UserProperties.Add", "a property named " + name + " exists");
        }
        properties.push_back({name, type, type == kUserPropertyYesNo ? Variant(false) : Variant()});
        return std::make_shared<MaildirUserProperty>(state_, entry_id_, properties.size() - 1);
    }

  private:
    std::shared_ptr<MaildirInboxState> state_;
    std::string entry_id_;
};

}  // namespace

MaildirMailItem::MaildirMailItem(std::shared_ptr<MaildirInboxState> state,
                                 std::weak_ptr<OlFolder> folder, MaildirMail mail)
    : state_(std::move(state)), folder_(std::move(folder)), mail_(std::move(mail)) {}

std::shared_ptr<OlFolder> MaildirMailItem::Parent() const {
    std::shared_ptr<OlFolder> folder = folder_.lock();
    if (!folder) {
        throw OutlookError("Parent", "the inbox is gone");
    }
    return folder;
}

void MaildirMailItem::Display() {
    if (!state_->open) {
        throw OutlookError("Display", "no command opens mail");
    }
    state_->open(mail_.path);
}

std::shared_ptr<OlUserProperties> MaildirMailItem::UserProperties() {
    return std::make_shared<MaildirUserProperties>(state_, mail_.entry_id);
}

}  // namespace planwarte
