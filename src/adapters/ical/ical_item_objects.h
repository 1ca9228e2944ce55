#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "adapters/ical/ical_records.h"
#include "adapters/ical/occurrence_cache.h"
#include "core/outlook/object_model.h"

// The appointments, occurrences, recurrence patterns and tasks handed out for the records of
// a collection. They hold the record they were made from, so they keep answering after the
// file changed or went away.
namespace planwarte {

class IcalFolder;

using OpenPath = std::function<void(const std::string& path)>;

// What the safe-item library and the searches read from an item of this source.
class IcalItemBase {
  public:
    virtual ~IcalItemBase() = default;
    virtual std::string SafeBody() const = 0;
    virtual int LabelColour() const = 0;  // 0 for none
};

// An item object for a record (a series as its master); `occurrence` makes an occurrence.
std::shared_ptr<OlItem> MakeItemObject(std::shared_ptr<const ItemRecord> record,
                                       std::weak_ptr<IcalFolder> folder, OpenPath open_path,
                                       const std::optional<Occurrence>& occurrence = std::nullopt);

class IcalAppointment : public OlAppointmentItem,
                        public IcalItemBase,
                        public std::enable_shared_from_this<IcalAppointment> {
  public:
    IcalAppointment(std::shared_ptr<const ItemRecord> record, std::weak_ptr<IcalFolder> folder,
                    OpenPath open_path, std::optional<Occurrence> occurrence);

    std::string EntryID() const override;
    std::string Subject() const override;
    std::shared_ptr<OlFolder> Parent() const override;
    void Display() override;
    std::string Location() const override;
    std::string Categories() const override;
    std::string Body() const override;
    DateTime Start() const override;
    DateTime End() const override;
    bool AllDayEvent() const override;
    bool IsRecurring() const override;
    int Importance() const override;
    RecurrenceState GetRecurrenceState() const override;
    bool ReminderSet() const override;
    DateTime ReminderTime() const override;
    std::shared_ptr<OlRecurrencePattern> GetRecurrencePattern() override;

    std::string SafeBody() const override;
    int LabelColour() const override;

    // The series' master object of this appointment's record.
    std::shared_ptr<IcalAppointment> Master() const;

  private:
    const EventFields& Fields() const;

    std::shared_ptr<const ItemRecord> record_;
    std::weak_ptr<IcalFolder> folder_;
    OpenPath open_path_;
    std::optional<Occurrence> occurrence_;
};

class IcalRecurrencePattern : public OlRecurrencePattern {
  public:
    explicit IcalRecurrencePattern(std::shared_ptr<IcalAppointment> master,
                                   std::shared_ptr<const ItemRecord> record);
    DateTime PatternStartDate() const override;
    bool NoEndDate() const override;
    DateTime EndTime() const override;
    std::shared_ptr<OlAppointmentItem> Parent() const override;

  private:
    std::shared_ptr<IcalAppointment> master_;
    std::shared_ptr<const ItemRecord> record_;
};

class IcalTask : public OlTaskItem, public IcalItemBase {
  public:
    IcalTask(std::shared_ptr<const ItemRecord> record, std::weak_ptr<IcalFolder> folder,
             OpenPath open_path);

    std::string EntryID() const override;
    std::string Subject() const override;
    std::shared_ptr<OlFolder> Parent() const override;
    void Display() override;
    std::string Body() const override;
    int Importance() const override;
    DateTime DueDate() const override;
    bool Complete() const override;
    bool ReminderSet() const override;
    DateTime ReminderTime() const override;

    std::string SafeBody() const override;
    int LabelColour() const override { return 0; }

  private:
    Reminder TaskReminder() const;

    std::shared_ptr<const ItemRecord> record_;
    std::weak_ptr<IcalFolder> folder_;
    OpenPath open_path_;
};

}  // namespace planwarte
