#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "adapters/ical/ical_catalog.h"
#include "core/outlook/object_model.h"

// The application and namespace objects over a catalog.
namespace planwarte {

// The application event sinks of every application of one factory. Events are raised on the
// main thread; an application of a worker thread may go away on its own thread.
class IcalApplicationEvents {
  public:
    void Set(const void* application, OlApplicationEvents* events);
    void RaiseNewMail() const;
    void RaiseReminder(const std::shared_ptr<OlItem>& item) const;

  private:
    std::vector<std::pair<const void*, OlApplicationEvents*>> Sinks() const;

    mutable std::mutex mutex_;
    std::vector<std::pair<const void*, OlApplicationEvents*>> sinks_;
};

// Answers nothing before Connect: GetNamespace throws until it succeeds and after Disconnect.
class IcalApplication : public OlApplication {
  public:
    IcalApplication(std::shared_ptr<IcalCatalog> catalog,
                    std::shared_ptr<IcalApplicationEvents> events);
    ~IcalApplication() override;

    void Connect() override;
    void Disconnect() override;
    // Null for another type than "MAPI".
    std::shared_ptr<OlNamespace> GetNamespace(const std::string& type) override;
    // Item windows belong to the user's calendar program; none is known here.
    std::shared_ptr<OlInspector> ActiveInspector() override;
    void SetEvents(OlApplicationEvents* events) override;
    // The collections are read in this process: nothing to wait for.
    int PauseBetweenTasksMs() const override { return 0; }

  private:
    std::shared_ptr<IcalCatalog> catalog_;
    std::shared_ptr<IcalApplicationEvents> events_;
    bool connected_ = false;
};

class IcalNamespace : public OlNamespace {
  public:
    explicit IcalNamespace(std::shared_ptr<IcalCatalog> catalog);

    void Logon(const std::string& profile, const std::string& password,
               const std::string& show_dialog, const std::string& new_session) override;
    void Logoff() override;
    std::shared_ptr<OlFolder> GetDefaultFolder(int folder_type) override;
    // An empty StoreID looks in every store.
    std::shared_ptr<OlFolder> GetFolderFromID(const std::string& entry_id,
                                              const std::string& store_id) override;
    std::shared_ptr<OlItem> GetItemFromID(const std::string& entry_id,
                                          const std::string& store_id) override;
    std::shared_ptr<OlFolders> Folders() override;

  private:
    std::shared_ptr<IcalCatalog> catalog_;
};

}  // namespace planwarte
