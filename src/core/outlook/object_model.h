#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>

#include "core/common/date_time.h"

// The calendar object model the program works on: the members of the Outlook object model
// it calls, and nothing more. Every failing call throws OutlookError naming the call.
namespace planwarte {

class OutlookError : public std::runtime_error {
  public:
    // The text is "<call>: <reason>", so that a trace line says which call failed.
    OutlookError(const std::string& call, const std::string& reason)
        : std::runtime_error(call + ": " + reason) {}
};

using Variant = std::variant<std::monostate, bool, std::int32_t, double, std::string, DateTime>;

// Object classes as the object model numbers them.
enum class ItemClass { Appointment = 26, Mail = 43, Task = 48, Other = 0 };

// Folder kinds (DefaultItemType) and default folders (GetDefaultFolder).
inline constexpr int kItemTypeMail = 0;
inline constexpr int kItemTypeAppointment = 1;
inline constexpr int kItemTypeTask = 3;
inline constexpr int kDefaultFolderInbox = 6;
inline constexpr int kDefaultFolderCalendar = 9;

// Importance: 0 low, 1 normal, 2 high.
inline constexpr int kImportanceLow = 0;
inline constexpr int kImportanceNormal = 1;
inline constexpr int kImportanceHigh = 2;

// RecurrenceState of an appointment.
enum class RecurrenceState { NotRecurring = 0, Master = 1, Occurrence = 2, Exception = 3 };

class OlFolder;
class OlAppointmentItem;

class OlItem {
  public:
    virtual ~OlItem() = default;
    virtual ItemClass Class() const = 0;
    virtual std::string EntryID() const = 0;
    virtual std::string Subject() const = 0;
    virtual std::shared_ptr<OlFolder> Parent() const = 0;
    virtual void Display() = 0;
};

class OlRecurrencePattern {
  public:
    virtual ~OlRecurrencePattern() = default;
    virtual DateTime PatternStartDate() const = 0;
    virtual bool NoEndDate() const = 0;
    virtual DateTime EndTime() const = 0;
    virtual std::shared_ptr<OlAppointmentItem> Parent() const = 0;
};

class OlAppointmentItem : public OlItem {
  public:
    ItemClass Class() const override { return ItemClass::Appointment; }
    virtual std::string Location() const = 0;
    virtual std::string Categories() const = 0;
    // Read only by the filters and Sort that name it; the pages read the text through the
    // safe-item library.
    virtual std::string Body() const = 0;
    virtual DateTime Start() const = 0;
    virtual DateTime End() const = 0;
    virtual bool AllDayEvent() const = 0;
    virtual bool IsRecurring() const = 0;
    virtual int Importance() const = 0;
    virtual RecurrenceState GetRecurrenceState() const = 0;
    virtual bool ReminderSet() const = 0;
    virtual DateTime ReminderTime() const = 0;
    virtual std::shared_ptr<OlRecurrencePattern> GetRecurrencePattern() = 0;
};

class OlTaskItem : public OlItem {
  public:
    ItemClass Class() const override { return ItemClass::Task; }
    virtual std::string Body() const = 0;  // as an appointment's
    virtual int Importance() const = 0;
    virtual DateTime DueDate() const = 0;
    virtual bool Complete() const = 0;
    virtual bool ReminderSet() const = 0;
    virtual DateTime ReminderTime() const = 0;
};

class OlUserProperty {
  public:
    virtual ~OlUserProperty() = default;
    virtual std::string Name() const = 0;
    virtual Variant Value() const = 0;
    virtual void SetValue(const Variant& value) = 0;
};

class OlUserProperties {
  public:
    virtual ~OlUserProperties() = default;
    virtual int Count() const = 0;
    virtual std::shared_ptr<OlUserProperty> Item(int index) = 0;  // 1-based
    virtual std::shared_ptr<OlUserProperty> Add(const std::string& name, int type,
                                                bool add_to_folder_fields, int display_format) = 0;
};

class OlMailItem : public OlItem {
  public:
    ItemClass Class() const override { return ItemClass::Mail; }
    virtual std::string Body() const = 0;
    virtual DateTime ReceivedTime() const = 0;
    virtual bool UnRead() const = 0;
    virtual std::shared_ptr<OlUserProperties> UserProperties() = 0;
};

// Receives the item events of one Items collection.
class OlItemsEvents {
  public:
    virtual ~OlItemsEvents() = default;
    virtual void ItemAdd(const std::shared_ptr<OlItem>& item) = 0;
    virtual void ItemChange(const std::shared_ptr<OlItem>& item) = 0;
    virtual void ItemRemove() = 0;
};

class OlItems {
  public:
    virtual ~OlItems() = default;
    virtual void SetColumns(const std::string& columns) = 0;
    virtual void Sort(const std::string& property, bool descending) = 0;
    virtual void SetIncludeRecurrences(bool include) = 0;
    // The first item matching the filter, in sort order; null when none matches.
    virtual std::shared_ptr<OlItem> Find(const std::string& filter) = 0;
    // The next match of the last Find; null after the last one.
    virtual std::shared_ptr<OlItem> FindNext() = 0;
    virtual int Count() const = 0;
    virtual std::shared_ptr<OlItem> Item(int index) = 0;  // 1-based
    virtual std::shared_ptr<OlFolder> Parent() const = 0;
    // The connection point of the item events. The sink must outlive its connection.
    virtual int Advise(OlItemsEvents* sink) = 0;
    virtual void Unadvise(int cookie) = 0;
};

class OlFolders {
  public:
    virtual ~OlFolders() = default;
    virtual int Count() const = 0;
    virtual std::shared_ptr<OlFolder> Item(int index) = 0;  // 1-based
};

class OlFolder {
  public:
    virtual ~OlFolder() = default;
    virtual std::string Name() const = 0;
    virtual std::string EntryID() const = 0;
    virtual std::string StoreID() const = 0;
    virtual int DefaultItemType() const = 0;
    virtual std::shared_ptr<OlFolders> Folders() = 0;
    virtual std::shared_ptr<OlItems> Items() = 0;
    // The folder above; null for the top folder of a store.
    virtual std::shared_ptr<OlFolder> Parent() const = 0;
    virtual void Display() = 0;
};

class OlInspector {
  public:
    virtual ~OlInspector() = default;
    virtual std::shared_ptr<OlItem> CurrentItem() = 0;
    virtual void Activate() = 0;
};

class OlNamespace {
  public:
    virtual ~OlNamespace() = default;
    virtual void Logon(const std::string& profile, const std::string& password,
                       const std::string& show_dialog, const std::string& new_session) = 0;
    virtual void Logoff() = 0;
    // Null when the store has no such folder.
    virtual std::shared_ptr<OlFolder> GetDefaultFolder(int folder_type) = 0;
    // Throw OutlookError when the ID names nothing.
    virtual std::shared_ptr<OlFolder> GetFolderFromID(const std::string& entry_id,
                                                      const std::string& store_id) = 0;
    virtual std::shared_ptr<OlItem> GetItemFromID(const std::string& entry_id,
                                                  const std::string& store_id) = 0;
    // The top folders, one per store.
    virtual std::shared_ptr<OlFolders> Folders() = 0;
};

// Receives the application's events, on the main thread.
class OlApplicationEvents {
  public:
    virtual ~OlApplicationEvents() = default;
    virtual void NewMail() = 0;
    virtual void Reminder(const std::shared_ptr<OlItem>& item) = 0;
};

class OlApplication {
  public:
    virtual ~OlApplication() = default;
    // Attaches to the running data source or starts it.
    virtual void Connect() = 0;
    virtual void Disconnect() = 0;
    // Null when the source offers no namespace of that type.
    virtual std::shared_ptr<OlNamespace> GetNamespace(const std::string& type) = 0;
    // The open item window; null when none is open.
    virtual std::shared_ptr<OlInspector> ActiveInspector() = 0;
    virtual void SetEvents(OlApplicationEvents* events) = 0;
    // How long the page build rests before each task it reads: a source in another process
    // may need a breath between calls, one in this process needs none.
    virtual int PauseBetweenTasksMs() const = 0;
};

// Makes application components: one for the main session, one more per worker thread.
class OlApplicationFactory {
  public:
    virtual ~OlApplicationFactory() = default;
    virtual std::shared_ptr<OlApplication> CreateApplication() = 0;
};

}  // namespace planwarte
