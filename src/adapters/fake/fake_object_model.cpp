#include "adapters/fake/fake_object_model.h"

#include <algorithm>

namespace planwarte {

// ---- FakeOutlook ----

FakeOutlook::FakeOutlook() : state_(std::make_shared<FakeOutlookState>()) {}

std::shared_ptr<FakeOutlook> FakeOutlook::Create() {
    return std::shared_ptr<FakeOutlook>(new FakeOutlook());
}

std::shared_ptr<FakeFolder> FakeOutlook::AddStore(const std::string& name) {
    auto lock = state_->Hold();
    auto store = std::make_shared<FakeFolder>(state_, name, state_->NewStoreID(), kItemTypeMail,
                                              std::weak_ptr<FakeFolder>());
    stores_.push_back(store);
    return store;
}

std::shared_ptr<FakeFolder> FakeOutlook::DefaultStore() {
    auto lock = state_->Hold();
    if (stores_.empty()) {
        return AddStore("Persönliche Ordner");
    }
    return stores_.front();
}

std::shared_ptr<FakeFolder> FakeOutlook::AddCalendar(const std::string& name) {
    auto lock = state_->Hold();
    auto folder = DefaultStore()->AddFolder(name, kItemTypeAppointment);
    default_folders_.try_emplace(kDefaultFolderCalendar, folder);
    return folder;
}

std::shared_ptr<FakeFolder> FakeOutlook::AddTaskFolder(const std::string& name) {
    return DefaultStore()->AddFolder(name, kItemTypeTask);
}

std::shared_ptr<FakeFolder> FakeOutlook::AddInbox(const std::string& name) {
    auto lock = state_->Hold();
    auto folder = DefaultStore()->AddFolder(name, kItemTypeMail);
    default_folders_.try_emplace(kDefaultFolderInbox, folder);
    return folder;
}

void FakeOutlook::SetDefaultFolder(int folder_type, std::shared_ptr<FakeFolder> folder) {
    auto lock = state_->Hold();
    if (folder) {
        default_folders_[folder_type] = std::move(folder);
    } else {
        default_folders_.erase(folder_type);
    }
}

std::shared_ptr<FakeFolder> FakeOutlook::DefaultFolder(int folder_type) const {
    auto lock = state_->Hold();
    const auto found = default_folders_.find(folder_type);
    return found == default_folders_.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<FakeFolder>> FakeOutlook::Stores() const {
    auto lock = state_->Hold();
    return stores_;
}

std::shared_ptr<FakeFolder> FakeOutlook::StoreFor(const std::string& store_id) const {
    auto lock = state_->Hold();
    if (store_id.empty()) {
        return stores_.empty() ? nullptr : stores_.front();
    }
    for (const std::shared_ptr<FakeFolder>& store : stores_) {
        if (store->StoreID() == store_id) {
            return store;
        }
    }
    return nullptr;
}

std::vector<OlApplicationEvents*> FakeOutlook::EventSinks() const {
    std::vector<OlApplicationEvents*> sinks;
    for (const std::shared_ptr<FakeApplication>& application : Applications()) {
        if (OlApplicationEvents* events = application->Events()) {
            sinks.push_back(events);
        }
    }
    return sinks;
}

// The sinks are called without the lock, as the events arrive from outside.
void FakeOutlook::RaiseNewMail() {
    for (OlApplicationEvents* events : EventSinks()) {
        events->NewMail();
    }
}

void FakeOutlook::RaiseReminder(const std::shared_ptr<OlItem>& item) {
    for (OlApplicationEvents* events : EventSinks()) {
        events->Reminder(item);
    }
}

void FakeOutlook::OpenInspector(std::shared_ptr<OlItem> item) {
    state_->SetActiveItem(std::move(item));
}

void FakeOutlook::CloseInspector() {
    state_->SetActiveItem(nullptr);
}

std::shared_ptr<OlApplicationFactory> FakeOutlook::Factory() {
    return std::make_shared<FakeApplicationFactory>(shared_from_this());
}

std::vector<std::shared_ptr<FakeApplication>> FakeOutlook::Applications() const {
    auto lock = state_->Hold();
    std::vector<std::shared_ptr<FakeApplication>> alive;
    for (const std::weak_ptr<FakeApplication>& weak : applications_) {
        if (std::shared_ptr<FakeApplication> application = weak.lock()) {
            alive.push_back(std::move(application));
        }
    }
    return alive;
}

// ---- FakeApplicationFactory ----

FakeApplicationFactory::FakeApplicationFactory(std::shared_ptr<FakeOutlook> outlook)
    : outlook_(std::move(outlook)) {}

std::shared_ptr<OlApplication> FakeApplicationFactory::CreateApplication() {
    auto lock = outlook_->state_->Enter("CreateApplication", "CreateApplication");
    auto application = std::make_shared<FakeApplication>(outlook_);
    std::erase_if(outlook_->applications_,
                  [](const std::weak_ptr<FakeApplication>& weak) { return weak.expired(); });
    outlook_->applications_.push_back(application);
    return application;
}

// ---- FakeApplication ----

FakeApplication::FakeApplication(std::shared_ptr<FakeOutlook> outlook)
    : outlook_(std::move(outlook)) {}

bool FakeApplication::Connected() const {
    auto lock = outlook_->State().Hold();
    return connected_;
}

OlApplicationEvents* FakeApplication::Events() const {
    auto lock = outlook_->State().Hold();
    return events_;
}

void FakeApplication::RequireConnected(const char* member) const {
    if (!connected_) {
        throw OutlookError(member, "the application is not connected");
    }
}

void FakeApplication::Connect() {
    auto lock = outlook_->State().Enter("Connect", "Connect");
    outlook_->State().RestoreSession();
    connected_ = true;
}

void FakeApplication::Disconnect() {
    auto lock = outlook_->State().Enter("Disconnect", "Disconnect");
    connected_ = false;
}

std::shared_ptr<OlNamespace> FakeApplication::GetNamespace(const std::string& type) {
    auto lock = outlook_->State().Enter("GetNamespace", "GetNamespace(" + type + ")");
    RequireConnected("GetNamespace");
    if (type != "MAPI" || outlook_->State().AnswersNull("GetNamespace")) {
        return nullptr;
    }
    return std::make_shared<FakeNamespace>(outlook_);
}

std::shared_ptr<OlInspector> FakeApplication::ActiveInspector() {
    auto lock = outlook_->State().Enter("ActiveInspector", "ActiveInspector");
    RequireConnected("ActiveInspector");
    std::shared_ptr<OlItem> item = outlook_->State().ActiveItem();
    if (!item || outlook_->State().AnswersNull("ActiveInspector")) {
        return nullptr;
    }
    return std::make_shared<FakeInspector>(outlook_->SharedState(), std::move(item));
}

void FakeApplication::SetEvents(OlApplicationEvents* events) {
    auto lock = outlook_->State().Hold();
    events_ = events;
}

// ---- FakeNamespace ----

FakeNamespace::FakeNamespace(std::shared_ptr<FakeOutlook> outlook) : outlook_(std::move(outlook)) {}

void FakeNamespace::Logon(const std::string& profile, const std::string& password,
                          const std::string& show_dialog, const std::string& new_session) {
    auto lock = outlook_->State().Enter(
        "Logon", "Logon(" + profile + "," + password + "," + show_dialog + "," + new_session + ")");
}

void FakeNamespace::Logoff() {
    auto lock = outlook_->State().Enter("Logoff", "Logoff");
}

std::shared_ptr<OlFolder> FakeNamespace::GetDefaultFolder(int folder_type) {
    auto lock = outlook_->State().Enter("GetDefaultFolder",
                                        "GetDefaultFolder(" + std::to_string(folder_type) + ")");
    if (outlook_->State().AnswersNull("GetDefaultFolder")) {
        return nullptr;
    }
    return outlook_->DefaultFolder(folder_type);
}

std::shared_ptr<FakeFolder> FakeNamespace::Store(const char* member,
                                                 const std::string& store_id) const {
    std::shared_ptr<FakeFolder> store = outlook_->StoreFor(store_id);
    if (!store) {
        throw OutlookError(member, "no message store " + store_id);
    }
    return store;
}

std::shared_ptr<OlFolder> FakeNamespace::GetFolderFromID(const std::string& entry_id,
                                                         const std::string& store_id) {
    auto lock = outlook_->State().Enter("GetFolderFromID",
                                        "GetFolderFromID(" + entry_id + "," + store_id + ")");
    if (outlook_->State().AnswersNull("GetFolderFromID")) {
        return nullptr;
    }
    std::shared_ptr<FakeFolder> folder = Store("GetFolderFromID", store_id)->FindFolder(entry_id);
    if (!folder) {
        throw OutlookError("GetFolderFromID", "no folder " + entry_id);
    }
    return folder;
}

std::shared_ptr<OlItem> FakeNamespace::GetItemFromID(const std::string& entry_id,
                                                     const std::string& store_id) {
    auto lock = outlook_->State().Enter("GetItemFromID",
                                        "GetItemFromID(" + entry_id + "," + store_id + ")");
    std::shared_ptr<OlItem> item = Store("GetItemFromID", store_id)->FindItem(entry_id);
    if (!item) {
        throw OutlookError("GetItemFromID", "no item " + entry_id);
    }
    return item;
}

std::shared_ptr<OlFolders> FakeNamespace::Folders() {
    auto lock = outlook_->State().Enter("Folders", "Folders");
    if (outlook_->State().AnswersNull("Folders")) {
        return nullptr;
    }
    std::weak_ptr<FakeOutlook> outlook = outlook_;
    return std::make_shared<FakeFolders>(outlook_->SharedState(), [outlook] {
        std::shared_ptr<FakeOutlook> source = outlook.lock();
        return source ? source->Stores() : std::vector<std::shared_ptr<FakeFolder>>();
    });
}

// ---- FakeInspector ----

FakeInspector::FakeInspector(std::shared_ptr<FakeOutlookState> state, std::shared_ptr<OlItem> item)
    : state_(std::move(state)), item_(std::move(item)) {}

std::shared_ptr<OlItem> FakeInspector::CurrentItem() {
    auto lock = state_->Enter("CurrentItem", "CurrentItem");
    if (state_->AnswersNull("CurrentItem")) {
        return nullptr;
    }
    return item_;
}

void FakeInspector::Activate() {
    auto lock = state_->Enter("Activate", "Activate");
}

}  // namespace planwarte
