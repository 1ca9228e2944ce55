#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adapters/fake/fake_item_data.h"
#include "adapters/fake/fake_outlook_state.h"
#include "core/outlook/object_model.h"

// The fake appointments, tasks and mails with what hangs on them: recurrence patterns,
// occurrences and user properties.
namespace planwarte {

class FakeFolder;

// What the fake folder, its filters and the fake safe-item library read from an item,
// without logging and without injected failures.
class FakeItemBase {
  public:
    virtual ~FakeItemBase() = default;
    // The value of a property by its name, with or without brackets, in any case;
    // nullopt when items of this kind have no such property.
    virtual std::optional<Variant> Property(const std::string& name) const = 0;
    // The body as the safe-item library reads it.
    virtual std::string SafeBody() const = 0;
    // The label colour named property; nullopt when the item has none.
    virtual std::optional<int> LabelColour() const { return std::nullopt; }
    virtual std::string ItemEntryID() const = 0;
};

// The fake item behind an object model item, or null for another implementation's item.
const FakeItemBase* AsFakeItem(const OlItem* item);

// An appointment, a series (master) or an occurrence of a series. An occurrence has the
// EntryID of its series, its Parent is the series' folder (Parent answers folders here),
// and GetRecurrencePattern leads to the series through the pattern's Parent.
class FakeAppointment : public OlAppointmentItem,
                        public FakeItemBase,
                        public std::enable_shared_from_this<FakeAppointment> {
  public:
    FakeAppointment(std::shared_ptr<FakeOutlookState> state, std::weak_ptr<FakeFolder> folder,
                    FakeAppointmentData data);
    // An occurrence of a series: the master's contents at another time.
    FakeAppointment(std::shared_ptr<FakeAppointment> master, DateTime start, DateTime end);

    // Test helpers.
    FakeAppointmentData Data() const;
    void Change(const std::function<void(FakeAppointmentData&)>& change);
    // The occurrences of a series in time order; empty for a single appointment.
    std::vector<std::shared_ptr<FakeAppointment>> Occurrences();

    // For searches, which make objects only of the occurrences they find.
    struct OccurrenceTime {
        DateTime start;
        DateTime end;
    };
    std::vector<OccurrenceTime> OccurrenceTimes() const;
    std::optional<Variant> OccurrenceProperty(const std::string& name,
                                              const OccurrenceTime& time) const;
    std::shared_ptr<FakeAppointment> Occurrence(const OccurrenceTime& time);
    const std::shared_ptr<FakeAppointment>& Master() const { return master_; }

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

    std::optional<Variant> Property(const std::string& name) const override;
    std::string SafeBody() const override;
    std::optional<int> LabelColour() const override;
    std::string ItemEntryID() const override;

  private:
    // The series' contents for an occurrence, the own ones otherwise.
    const FakeAppointmentData& Contents() const;
    template <typename T>
    T Read(const char* member, T FakeAppointmentData::*field) const;

    std::shared_ptr<FakeOutlookState> state_;
    std::weak_ptr<FakeFolder> folder_;
    FakeAppointmentData data_;
    std::shared_ptr<FakeAppointment> master_;  // set for an occurrence
    DateTime occurrence_start_{};
    DateTime occurrence_end_{};
};

class FakeRecurrencePattern : public OlRecurrencePattern {
  public:
    FakeRecurrencePattern(std::shared_ptr<FakeOutlookState> state,
                          std::shared_ptr<FakeAppointment> master);
    DateTime PatternStartDate() const override;
    bool NoEndDate() const override;
    // The time of day at which the occurrences end.
    DateTime EndTime() const override;
    std::shared_ptr<OlAppointmentItem> Parent() const override;

  private:
    std::shared_ptr<FakeOutlookState> state_;
    std::shared_ptr<FakeAppointment> master_;
};

class FakeTask : public OlTaskItem,
                 public FakeItemBase,
                 public std::enable_shared_from_this<FakeTask> {
  public:
    FakeTask(std::shared_ptr<FakeOutlookState> state, std::weak_ptr<FakeFolder> folder,
             FakeTaskData data);

    FakeTaskData Data() const;
    void Change(const std::function<void(FakeTaskData&)>& change);

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

    std::optional<Variant> Property(const std::string& name) const override;
    std::string SafeBody() const override;
    std::string ItemEntryID() const override;

  private:
    template <typename T>
    T Read(const char* member, T FakeTaskData::*field) const;

    std::shared_ptr<FakeOutlookState> state_;
    std::weak_ptr<FakeFolder> folder_;
    FakeTaskData data_;
};

class FakeMail : public OlMailItem,
                 public FakeItemBase,
                 public std::enable_shared_from_this<FakeMail> {
  public:
    FakeMail(std::shared_ptr<FakeOutlookState> state, std::weak_ptr<FakeFolder> folder,
             FakeMailData data);

    FakeMailData Data() const;
    void Change(const std::function<void(FakeMailData&)>& change);

    std::string EntryID() const override;
    std::string Subject() const override;
    std::shared_ptr<OlFolder> Parent() const override;
    void Display() override;
    std::string Body() const override;
    DateTime ReceivedTime() const override;
    bool UnRead() const override;
    std::shared_ptr<OlUserProperties> UserProperties() override;

    std::optional<Variant> Property(const std::string& name) const override;
    std::string SafeBody() const override;
    std::string ItemEntryID() const override;

  private:
    friend class FakeUserProperties;
    friend class FakeUserProperty;
    template <typename T>
    T Read(const char* member, T FakeMailData::*field) const;

    std::shared_ptr<FakeOutlookState> state_;
    std::weak_ptr<FakeFolder> folder_;
    FakeMailData data_;
};

class FakeUserProperties : public OlUserProperties {
  public:
    FakeUserProperties(std::shared_ptr<FakeOutlookState> state, std::shared_ptr<FakeMail> mail);
    int Count() const override;
    std::shared_ptr<OlUserProperty> Item(int index) override;
    // Throws OutlookError when the mail already has a property of that name.
    std::shared_ptr<OlUserProperty> Add(const std::string& name, int type,
                                        bool add_to_folder_fields, int display_format) override;

  private:
    std::shared_ptr<FakeOutlookState> state_;
    std::shared_ptr<FakeMail> mail_;
};

class FakeUserProperty : public OlUserProperty {
  public:
    FakeUserProperty(std::shared_ptr<FakeOutlookState> state, std::shared_ptr<FakeMail> mail,
                     std::size_t index);
    std::string Name() const override;
    Variant Value() const override;
    void SetValue(const Variant& value) override;

  private:
    std::shared_ptr<FakeOutlookState> state_;
    std::shared_ptr<FakeMail> mail_;
    std::size_t index_;
};

}  // namespace planwarte
