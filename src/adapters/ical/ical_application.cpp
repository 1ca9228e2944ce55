#include "adapters/ical/ical_application.h"

#include "adapters/ical/due_reminders.h"

namespace planwarte {

// ---- IcalApplicationFactory ----

IcalApplicationFactory::IcalApplicationFactory(IcalSources sources)
    : catalog_(std::make_shared<IcalCatalog>(std::move(sources))),
      events_(std::make_shared<IcalApplicationEvents>()) {}

IcalApplicationFactory::~IcalApplicationFactory() = default;

std::shared_ptr<OlApplication> IcalApplicationFactory::CreateApplication() {
    return std::make_shared<IcalApplication>(catalog_, events_);
}

void IcalApplicationFactory::RaiseNewMail() {
    events_->RaiseNewMail();
}

void IcalApplicationFactory::RaiseDueReminders(DateTime now) {
    const std::optional<DateTime> after = last_reminder_check_;
    last_reminder_check_ = now;
    if (!after || now.value <= after->value) {
        return;
    }
    IcalNamespace outlook(catalog_);
    for (const std::shared_ptr<OlItem>& item : DueReminders(outlook, *after, now)) {
        events_->RaiseReminder(item);
    }
}

// ---- IcalApplicationEvents ----

void IcalApplicationEvents::Set(const void* application, OlApplicationEvents* events) {
    const std::lock_guard lock(mutex_);
    std::erase_if(sinks_, [application](const auto& sink) { return sink.first == application; });
    if (events) {
        sinks_.emplace_back(application, events);
    }
}

// A copy: a sink may set itself anew while it handles the event.
std::vector<std::pair<const void*, OlApplicationEvents*>> IcalApplicationEvents::Sinks() const {
    const std::lock_guard lock(mutex_);
    return sinks_;
}

void IcalApplicationEvents::RaiseNewMail() const {
    for (const auto& sink : Sinks()) {
        sink.second->NewMail();
    }
}

void IcalApplicationEvents::RaiseReminder(const std::shared_ptr<OlItem>& item) const {
    for (const auto& sink : Sinks()) {
        sink.second->Reminder(item);
    }
}

void IcalApplicationFactory::Refresh() {
    catalog_->Refresh();
}

std::vector<std::string> IcalApplicationFactory::WatchedPaths() const {
    catalog_->EnsureLoaded();
    return catalog_->WatchedPaths();
}

// ---- IcalApplication ----

IcalApplication::IcalApplication(std::shared_ptr<IcalCatalog> catalog,
                                 std::shared_ptr<IcalApplicationEvents> events)
    : catalog_(std::move(catalog)), events_(std::move(events)) {}

IcalApplication::~IcalApplication() {
    events_->Set(this, nullptr);
}

void IcalApplication::Connect() {
    catalog_->EnsureLoaded();
    connected_ = true;
}

void IcalApplication::Disconnect() {
    connected_ = false;
}

std::shared_ptr<OlNamespace> IcalApplication::GetNamespace(const std::string& type) {
    if (!connected_) {
        throw OutlookError("GetNamespace", "not connected");
    }
    if (type != "MAPI") {
        return nullptr;
    }
    return std::make_shared<IcalNamespace>(catalog_);
}

std::shared_ptr<OlInspector> IcalApplication::ActiveInspector() {
    if (!connected_) {
        throw OutlookError("ActiveInspector", "not connected");
    }
    return nullptr;
}

// New mail is raised by the factory when the inbox sees new files.
void IcalApplication::SetEvents(OlApplicationEvents* events) {
    events_->Set(this, events);
}

// ---- IcalNamespace ----

IcalNamespace::IcalNamespace(std::shared_ptr<IcalCatalog> catalog) : catalog_(std::move(catalog)) {}

// The files need no logon.
void IcalNamespace::Logon(const std::string&, const std::string&, const std::string&,
                          const std::string&) {}
void IcalNamespace::Logoff() {}

std::shared_ptr<OlFolder> IcalNamespace::GetDefaultFolder(int folder_type) {
    return catalog_->DefaultFolder(folder_type);
}

std::shared_ptr<OlFolder> IcalNamespace::GetFolderFromID(const std::string& entry_id,
                                                         const std::string& store_id) {
    return catalog_->FolderFromID(entry_id, store_id);
}

std::shared_ptr<OlItem> IcalNamespace::GetItemFromID(const std::string& entry_id,
                                                     const std::string& store_id) {
    return catalog_->ItemFromID(entry_id, store_id);
}

std::shared_ptr<OlFolders> IcalNamespace::Folders() {
    std::shared_ptr<IcalCatalog> catalog = catalog_;
    return std::make_shared<IcalFolders>([catalog] { return catalog->StoreFolders(); });
}

}  // namespace planwarte
