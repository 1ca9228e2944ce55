#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_folder.h"
#include "adapters/fake/fake_item_data.h"
#include "adapters/fake/fake_items.h"
#include "adapters/fake/fake_outlook_state.h"
#include "core/outlook/object_model.h"

// An in-memory calendar source for tests: stores with folder trees and items, built by the
// test, reached by the program through the object model interfaces.
//
//   auto outlook = FakeOutlook::Create();
//   auto calendar = outlook->AddCalendar("Kalender");
//   calendar->AddAppointment({.subject = "Zahnarzt", .start = s, .end = e});
//   Program program(outlook->Factory(), ...);
//   outlook->State().FailCall("Find");          // the next Find throws
//   EXPECT_EQ(outlook->State().CallLog()[0], "CreateApplication");
namespace planwarte {

class FakeApplication;

class FakeOutlook : public std::enable_shared_from_this<FakeOutlook> {
  public:
    static std::shared_ptr<FakeOutlook> Create();

    // The call log and the failure injection shared by every object of this source.
    FakeOutlookState& State() { return *state_; }
    const std::shared_ptr<FakeOutlookState>& SharedState() const { return state_; }

    // A new message store; the first one added is the default store.
    std::shared_ptr<FakeFolder> AddStore(const std::string& name);
    // The default store, made as "Persönliche Ordner" when there is none yet.
    std::shared_ptr<FakeFolder> DefaultStore();
    // Folders of the default store. The first calendar and the first inbox added become
    // the default calendar and the default inbox.
    std::shared_ptr<FakeFolder> AddCalendar(const std::string& name);
    std::shared_ptr<FakeFolder> AddTaskFolder(const std::string& name);
    std::shared_ptr<FakeFolder> AddInbox(const std::string& name = "Posteingang");
    // GetDefaultFolder(folder_type) answers this folder; null takes the default away.
    void SetDefaultFolder(int folder_type, std::shared_ptr<FakeFolder> folder);
    std::shared_ptr<FakeFolder> DefaultFolder(int folder_type) const;

    std::vector<std::shared_ptr<FakeFolder>> Stores() const;
    // The store for a StoreID; the default store for the empty text; null for an unknown one.
    std::shared_ptr<FakeFolder> StoreFor(const std::string& store_id) const;

    // Application events, delivered to every application whose events are set.
    void RaiseNewMail();
    void RaiseReminder(const std::shared_ptr<OlItem>& item);

    // The item window that ActiveInspector answers (Display of an item opens one too).
    void OpenInspector(std::shared_ptr<OlItem> item);
    void CloseInspector();

    // Makes the applications: one per call, all on this source.
    std::shared_ptr<OlApplicationFactory> Factory();
    // Every application made so far that is still alive, oldest first.
    std::vector<std::shared_ptr<FakeApplication>> Applications() const;

  private:
    friend class FakeApplicationFactory;
    FakeOutlook();
    std::vector<OlApplicationEvents*> EventSinks() const;

    std::shared_ptr<FakeOutlookState> state_;
    std::vector<std::shared_ptr<FakeFolder>> stores_;
    std::map<int, std::shared_ptr<FakeFolder>> default_folders_;
    std::vector<std::weak_ptr<FakeApplication>> applications_;
};

class FakeApplicationFactory : public OlApplicationFactory {
  public:
    explicit FakeApplicationFactory(std::shared_ptr<FakeOutlook> outlook);
    std::shared_ptr<OlApplication> CreateApplication() override;

  private:
    std::shared_ptr<FakeOutlook> outlook_;
};

// Answers nothing before Connect: GetNamespace and ActiveInspector throw until it
// succeeds and again after Disconnect.
class FakeApplication : public OlApplication {
  public:
    explicit FakeApplication(std::shared_ptr<FakeOutlook> outlook);

    bool Connected() const;
    OlApplicationEvents* Events() const;

    void Connect() override;
    void Disconnect() override;
    // Null for another type than "MAPI".
    std::shared_ptr<OlNamespace> GetNamespace(const std::string& type) override;
    std::shared_ptr<OlInspector> ActiveInspector() override;
    void SetEvents(OlApplicationEvents* events) override;
    // Stands for a source in another process, which is given its breath.
    int PauseBetweenTasksMs() const override { return 2; }

  private:
    void RequireConnected(const char* member) const;

    std::shared_ptr<FakeOutlook> outlook_;
    bool connected_ = false;
    OlApplicationEvents* events_ = nullptr;
};

class FakeNamespace : public OlNamespace {
  public:
    explicit FakeNamespace(std::shared_ptr<FakeOutlook> outlook);

    void Logon(const std::string& profile, const std::string& password,
               const std::string& show_dialog, const std::string& new_session) override;
    void Logoff() override;
    std::shared_ptr<OlFolder> GetDefaultFolder(int folder_type) override;
    // An empty StoreID looks in the default store only.
    std::shared_ptr<OlFolder> GetFolderFromID(const std::string& entry_id,
                                              const std::string& store_id) override;
    std::shared_ptr<OlItem> GetItemFromID(const std::string& entry_id,
                                          const std::string& store_id) override;
    std::shared_ptr<OlFolders> Folders() override;

  private:
    std::shared_ptr<FakeFolder> Store(const char* member, const std::string& store_id) const;

    std::shared_ptr<FakeOutlook> outlook_;
};

class FakeInspector : public OlInspector {
  public:
    FakeInspector(std::shared_ptr<FakeOutlookState> state, std::shared_ptr<OlItem> item);
    std::shared_ptr<OlItem> CurrentItem() override;
    void Activate() override;

  private:
    std::shared_ptr<FakeOutlookState> state_;
    std::shared_ptr<OlItem> item_;
};

}  // namespace planwarte
