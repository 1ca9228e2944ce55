#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/common/date_time.h"
#include "core/outlook/object_model.h"
#include "core/outlook/safe_item_library.h"

// Reading single items: their guarded parts through the safe-item library, finding an item
// again from its EntryID, the start of a series, and the mark of an announced mail.
namespace planwarte {

class UserNotice;

// Who asks for a safe appointment item. The page build and the reminder handler each tell
// the user once per process that the library is missing; the task lines never do.
enum class SafeItemUser { kPageBuild, kReminder };

// The show-once flags of the "library missing" message, one per user.
class SafeItemMessageFlags {
  public:
    // True the first time for the user, false afterwards.
    bool TakeTurn(SafeItemUser user);

  private:
    bool page_build_shown_ = false;
    bool reminder_shown_ = false;
};

// A safe item pointed at `item`; null when the library's class is not registered, after
// showing the message if it is the user's turn (never for tasks). Errors of the item itself
// pass to the caller.
std::unique_ptr<SafeAppointmentItem> CreateSafeAppointment(SafeItemLibrary& library,
                                                           std::shared_ptr<OlItem> item,
                                                           SafeItemUser user,
                                                           SafeItemMessageFlags& flags,
                                                           UserNotice& notice);
std::unique_ptr<SafeTaskItem> CreateSafeTask(SafeItemLibrary& library,
                                             std::shared_ptr<OlItem> item);

// The body of an appointment; an occurrence or exception shows its master's body, a master
// none. Every error yields the empty text and is handed to on_error when given (the page
// build traces it). The safe item points at the appointment again afterwards in every case.
std::string ReadAppointmentBody(OlAppointmentItem& appointment, SafeAppointmentItem& safe,
                                const std::function<void(const std::string&)>& on_error = {});
// The body of a task; every error yields the empty text.
std::string ReadTaskBody(SafeTaskItem& safe);

// The label colour property: set GUID and property ID.
inline constexpr const char* kLabelColourPropertySet = "{00062002-0000-0000-C000-000000000046}";
inline constexpr std::int32_t kLabelColourPropertyId = 0x8214;

// The label colour index of an appointment, the master's for an occurrence without its own
// (outside 1 to 10); every error yields 0.
std::int32_t ReadLabelColourIndex(OlAppointmentItem& appointment, SafeAppointmentItem& safe);

// The start of the series an appointment belongs to: the pattern's start date, or when the
// pattern cannot be read the earliest Start of the appointment and the folder's items with
// its subject and EntryID. Items the folder fails to hand out are traced and skipped.
DateTime SeriesStartDate(OlAppointmentItem& appointment, OlFolder& folder,
                         const std::function<void(const std::string&)>& trace);
inline constexpr const char* kSeriesItemUnavailableTrace =
    "konnte das Item nicht bekomen, evtl. fehlerhafter Outlookeintrag";

// An item from its EntryID and the StoreID of its folder (empty: the default store).
std::shared_ptr<OlItem> GetItemFromID(OlNamespace& outlook, const std::string& entry_id,
                                      const std::string& store_id);
// The same, asking for the kind; throws OutlookError when the item is of another kind.
std::shared_ptr<OlAppointmentItem> GetAppointmentFromID(OlNamespace& outlook,
                                                        const std::string& entry_id,
                                                        const std::string& store_id);
std::shared_ptr<OlTaskItem> GetTaskFromID(OlNamespace& outlook, const std::string& entry_id,
                                          const std::string& store_id);

// The user property whose presence marks a mail as announced; its value does not matter.
inline constexpr const char* kAnnouncedMarkName = "50FE4A87-7A57-4B6D-92E5-8548D905EBDA";
inline constexpr int kUserPropertyYesNo = 6;

bool HasAnnouncedMark(OlMailItem& mail);
// Adds the mark without saving the mail: it lasts while the source keeps the mail in memory.
void SetAnnouncedMark(OlMailItem& mail);

// Lets the library release its resources; nothing happens when it is not registered.
void CleanUpSafeItemLibrary(SafeItemLibrary& library);

}  // namespace planwarte
