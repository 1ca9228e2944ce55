#include "adapters/fake/fake_items.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "adapters/fake/fake_folder.h"
#include "core/outlook/item_properties.h"

namespace planwarte {

namespace {

std::shared_ptr<OlFolder> LockedFolder(const std::weak_ptr<FakeFolder>& folder,
                                       const char* member) {
    std::shared_ptr<FakeFolder> parent = folder.lock();
    if (!parent) {
        throw OutlookError(member, "the item has no folder");
    }
    return parent;
}

// The time of day of a value as a fraction, for values from the epoch on.
double TimeFraction(DateTime value) {
    return value.value - std::floor(value.value);
}

// The day of the k-th occurrence of a series that starts on `first`, or nullopt past the
// last representable date.
std::optional<double> OccurrenceDay(const FakeRecurrence& pattern, DateTime first, int k) {
    const int step = std::max(pattern.interval, 1) * k;
    switch (pattern.kind) {
        case FakeRecurrenceKind::Daily:
            return first.value + step;
        case FakeRecurrenceKind::Weekly:
            return first.value + 7.0 * step;
        case FakeRecurrenceKind::Monthly:
        case FakeRecurrenceKind::Yearly: {
            const CalendarDate date = DecodeDate(first);
            const int months = pattern.kind == FakeRecurrenceKind::Monthly ? step : 12 * step;
            const int month_index = date.month - 1 + months;
            const int year = date.year + month_index / 12;
            const int month = month_index % 12 + 1;
            if (year > 9999) {
                return std::nullopt;
            }
            return EncodeDate(year, month, std::min(date.day, DaysInMonth(year, month))).value;
        }
    }
    return std::nullopt;
}

}  // namespace

const FakeItemBase* AsFakeItem(const OlItem* item) {
    return dynamic_cast<const FakeItemBase*>(item);
}

// ---- FakeAppointment ----

FakeAppointment::FakeAppointment(std::shared_ptr<FakeOutlookState> state,
                                 std::weak_ptr<FakeFolder> folder, FakeAppointmentData data)
    : state_(std::move(state)), folder_(std::move(folder)), data_(std::move(data)) {
    if (data_.entry_id.empty()) {
        data_.entry_id = state_->NewEntryID();
    }
}

FakeAppointment::FakeAppointment(std::shared_ptr<FakeAppointment> master, DateTime start,
                                 DateTime end)
    : state_(master->state_),
      folder_(master->folder_),
      master_(std::move(master)),
      occurrence_start_(start),
      occurrence_end_(end) {}

const FakeAppointmentData& FakeAppointment::Contents() const {
    return master_ ? master_->data_ : data_;
}

template <typename T>
T FakeAppointment::Read(const char* member, T FakeAppointmentData::*field) const {
    auto lock = state_->Enter(member);
    return Contents().*field;
}

FakeAppointmentData FakeAppointment::Data() const {
    auto lock = state_->Hold();
    return Contents();
}

void FakeAppointment::Change(const std::function<void(FakeAppointmentData&)>& change) {
    auto lock = state_->Hold();
    change(master_ ? master_->data_ : data_);
}

std::vector<FakeAppointment::OccurrenceTime> FakeAppointment::OccurrenceTimes() const {
    auto lock = state_->Hold();
    std::vector<OccurrenceTime> times;
    if (master_ || !data_.recurrence) {
        return times;
    }
    const FakeRecurrence& pattern = *data_.recurrence;
    const DateTime first = DateOf(data_.start);
    const double time = TimeFraction(data_.start);
    const double duration = data_.end.value - data_.start.value;
    const int limit =
        pattern.count > 0 ? std::min(pattern.count, kFakeMaxOccurrences) : kFakeMaxOccurrences;
    const bool has_until = pattern.until.value != 0.0;
    for (int k = 0; k < limit; ++k) {
        const std::optional<double> day = OccurrenceDay(pattern, first, k);
        if (!day || (has_until && *day > DateOf(pattern.until).value)) {
            break;
        }
        const DateTime start(*day + time);
        times.push_back({start, DateTime(start.value + duration)});
    }
    return times;
}

std::optional<Variant> FakeAppointment::OccurrenceProperty(const std::string& name,
                                                           const OccurrenceTime& time) const {
    // Read from a stand-in on the stack: a search makes objects only of what it finds.
    const FakeAppointment occurrence(std::const_pointer_cast<FakeAppointment>(shared_from_this()),
                                     time.start, time.end);
    return occurrence.Property(name);
}

std::shared_ptr<FakeAppointment> FakeAppointment::Occurrence(const OccurrenceTime& time) {
    return std::make_shared<FakeAppointment>(shared_from_this(), time.start, time.end);
}

std::vector<std::shared_ptr<FakeAppointment>> FakeAppointment::Occurrences() {
    std::vector<std::shared_ptr<FakeAppointment>> occurrences;
    for (const OccurrenceTime& time : OccurrenceTimes()) {
        occurrences.push_back(Occurrence(time));
    }
    return occurrences;
}

std::string FakeAppointment::EntryID() const {
    return Read("EntryID", &FakeAppointmentData::entry_id);
}
std::string FakeAppointment::Subject() const {
    return Read("Subject", &FakeAppointmentData::subject);
}

std::shared_ptr<OlFolder> FakeAppointment::Parent() const {
    auto lock = state_->Enter("Parent");
    return LockedFolder(folder_, "Parent");
}

void FakeAppointment::Display() {
    auto lock = state_->Enter("Display", "Display(" + Contents().entry_id + ")");
    state_->SetActiveItem(shared_from_this());
}

std::string FakeAppointment::Location() const {
    return Read("Location", &FakeAppointmentData::location);
}
std::string FakeAppointment::Categories() const {
    return Read("Categories", &FakeAppointmentData::categories);
}
std::string FakeAppointment::Body() const {
    return Read("Body", &FakeAppointmentData::body);
}

DateTime FakeAppointment::Start() const {
    auto lock = state_->Enter("Start");
    return master_ ? occurrence_start_ : data_.start;
}

DateTime FakeAppointment::End() const {
    auto lock = state_->Enter("End");
    return master_ ? occurrence_end_ : data_.end;
}

bool FakeAppointment::AllDayEvent() const {
    return Read("AllDayEvent", &FakeAppointmentData::all_day);
}

bool FakeAppointment::IsRecurring() const {
    auto lock = state_->Enter("IsRecurring");
    return Contents().recurrence.has_value();
}

int FakeAppointment::Importance() const {
    return Read("Importance", &FakeAppointmentData::importance);
}

RecurrenceState FakeAppointment::GetRecurrenceState() const {
    auto lock = state_->Enter("RecurrenceState");
    if (master_) {
        return RecurrenceState::Occurrence;
    }
    return data_.recurrence ? RecurrenceState::Master : RecurrenceState::NotRecurring;
}

bool FakeAppointment::ReminderSet() const {
    return Read("ReminderSet", &FakeAppointmentData::reminder_set);
}
DateTime FakeAppointment::ReminderTime() const {
    return Read("ReminderTime", &FakeAppointmentData::reminder_time);
}

std::shared_ptr<OlRecurrencePattern> FakeAppointment::GetRecurrencePattern() {
    auto lock = state_->Enter("GetRecurrencePattern", "GetRecurrencePattern");
    // A single appointment has no pattern here (the object model would make it a series).
    if (!Contents().recurrence || state_->AnswersNull("GetRecurrencePattern")) {
        return nullptr;
    }
    return std::make_shared<FakeRecurrencePattern>(state_, master_ ? master_ : shared_from_this());
}

std::optional<Variant> FakeAppointment::Property(const std::string& name) const {
    return state_->Quietly([&] { return AppointmentProperty(*this, name); });
}

// An occurrence carries neither body nor label of its own; its series' appointment holds
// them, so readers have to go to the master.
std::string FakeAppointment::SafeBody() const {
    auto lock = state_->Hold();
    return master_ ? std::string() : data_.body;
}

std::optional<int> FakeAppointment::LabelColour() const {
    auto lock = state_->Hold();
    return master_ ? std::nullopt : data_.label_colour;
}

std::string FakeAppointment::ItemEntryID() const {
    auto lock = state_->Hold();
    return Contents().entry_id;
}

// ---- FakeRecurrencePattern ----

FakeRecurrencePattern::FakeRecurrencePattern(std::shared_ptr<FakeOutlookState> state,
                                             std::shared_ptr<FakeAppointment> master)
    : state_(std::move(state)), master_(std::move(master)) {}

DateTime FakeRecurrencePattern::PatternStartDate() const {
    auto lock = state_->Enter("PatternStartDate");
    return DateOf(master_->Data().start);
}

bool FakeRecurrencePattern::NoEndDate() const {
    auto lock = state_->Enter("NoEndDate");
    const FakeRecurrence pattern = *master_->Data().recurrence;
    return pattern.until.value == 0.0 && pattern.count == 0;
}

DateTime FakeRecurrencePattern::EndTime() const {
    auto lock = state_->Enter("EndTime");
    return DateTime(TimeFraction(master_->Data().end));
}

std::shared_ptr<OlAppointmentItem> FakeRecurrencePattern::Parent() const {
    auto lock = state_->Enter("Parent");
    return master_;
}

// ---- FakeTask ----

FakeTask::FakeTask(std::shared_ptr<FakeOutlookState> state, std::weak_ptr<FakeFolder> folder,
                   FakeTaskData data)
    : state_(std::move(state)), folder_(std::move(folder)), data_(std::move(data)) {
    if (data_.entry_id.empty()) {
        data_.entry_id = state_->NewEntryID();
    }
}

template <typename T>
T FakeTask::Read(const char* member, T FakeTaskData::*field) const {
    auto lock = state_->Enter(member);
    return data_.*field;
}

FakeTaskData FakeTask::Data() const {
    auto lock = state_->Hold();
    return data_;
}

void FakeTask::Change(const std::function<void(FakeTaskData&)>& change) {
    auto lock = state_->Hold();
    change(data_);
}

std::string FakeTask::EntryID() const {
    return Read("EntryID", &FakeTaskData::entry_id);
}
std::string FakeTask::Subject() const {
    return Read("Subject", &FakeTaskData::subject);
}

std::shared_ptr<OlFolder> FakeTask::Parent() const {
    auto lock = state_->Enter("Parent");
    return LockedFolder(folder_, "Parent");
}

void FakeTask::Display() {
    auto lock = state_->Enter("Display", "Display(" + data_.entry_id + ")");
    state_->SetActiveItem(shared_from_this());
}

std::string FakeTask::Body() const {
    return Read("Body", &FakeTaskData::body);
}
int FakeTask::Importance() const {
    return Read("Importance", &FakeTaskData::importance);
}
DateTime FakeTask::DueDate() const {
    return Read("DueDate", &FakeTaskData::due_date);
}
bool FakeTask::Complete() const {
    return Read("Complete", &FakeTaskData::complete);
}
bool FakeTask::ReminderSet() const {
    return Read("ReminderSet", &FakeTaskData::reminder_set);
}
DateTime FakeTask::ReminderTime() const {
    return Read("ReminderTime", &FakeTaskData::reminder_time);
}

std::optional<Variant> FakeTask::Property(const std::string& name) const {
    return state_->Quietly([&] { return TaskProperty(*this, name); });
}

std::string FakeTask::SafeBody() const {
    auto lock = state_->Hold();
    return data_.body;
}

std::string FakeTask::ItemEntryID() const {
    auto lock = state_->Hold();
    return data_.entry_id;
}

// ---- FakeMail ----

FakeMail::FakeMail(std::shared_ptr<FakeOutlookState> state, std::weak_ptr<FakeFolder> folder,
                   FakeMailData data)
    : state_(std::move(state)), folder_(std::move(folder)), data_(std::move(data)) {
    if (data_.entry_id.empty()) {
        data_.entry_id = state_->NewEntryID();
    }
}

template <typename T>
T FakeMail::Read(const char* member, T FakeMailData::*field) const {
    auto lock = state_->Enter(member);
    return data_.*field;
}

FakeMailData FakeMail::Data() const {
    auto lock = state_->Hold();
    return data_;
}

void FakeMail::Change(const std::function<void(FakeMailData&)>& change) {
    auto lock = state_->Hold();
    change(data_);
}

std::string FakeMail::EntryID() const {
    return Read("EntryID", &FakeMailData::entry_id);
}
std::string FakeMail::Subject() const {
    return Read("Subject", &FakeMailData::subject);
}

std::shared_ptr<OlFolder> FakeMail::Parent() const {
    auto lock = state_->Enter("Parent");
    return LockedFolder(folder_, "Parent");
}

void FakeMail::Display() {
    auto lock = state_->Enter("Display", "Display(" + data_.entry_id + ")");
    state_->SetActiveItem(shared_from_this());
}

std::string FakeMail::Body() const {
    return Read("Body", &FakeMailData::body);
}
DateTime FakeMail::ReceivedTime() const {
    return Read("ReceivedTime", &FakeMailData::received_time);
}
bool FakeMail::UnRead() const {
    return Read("UnRead", &FakeMailData::unread);
}

std::shared_ptr<OlUserProperties> FakeMail::UserProperties() {
    auto lock = state_->Enter("UserProperties", "UserProperties");
    if (state_->AnswersNull("UserProperties")) {
        return nullptr;
    }
    return std::make_shared<FakeUserProperties>(state_, shared_from_this());
}

std::optional<Variant> FakeMail::Property(const std::string& name) const {
    return state_->Quietly([&] { return MailProperty(*this, name); });
}

std::string FakeMail::SafeBody() const {
    auto lock = state_->Hold();
    return data_.body;
}

std::string FakeMail::ItemEntryID() const {
    auto lock = state_->Hold();
    return data_.entry_id;
}

// ---- user properties ----

FakeUserProperties::FakeUserProperties(std::shared_ptr<FakeOutlookState> state,
                                       std::shared_ptr<FakeMail> mail)
    : state_(std::move(state)), mail_(std::move(mail)) {}

int FakeUserProperties::Count() const {
    auto lock = state_->Enter("UserProperties.Count");
    return static_cast<int>(mail_->data_.user_properties.size());
}

std::shared_ptr<OlUserProperty> FakeUserProperties::Item(int index) {
    auto lock =
        state_->Enter("UserProperties.Item", "UserProperties.Item(" + std::to_string(index) + ")");
    if (index < 1 || index > static_cast<int>(mail_->data_.user_properties.size())) {
        throw OutlookError("UserProperties.Item", "index out of range");
    }
    return std::make_shared<FakeUserProperty>(state_, mail_, static_cast<std::size_t>(index - 1));
}

std::shared_ptr<OlUserProperty> FakeUserProperties::Add(const std::string& name, int type,
                                                        bool add_to_folder_fields,
                                                        int display_format) {
    auto lock = state_->Enter("UserProperties.Add", "UserProperties.Add(" + name + "," +
                                                        std::to_string(type) + "," +
                                                        (add_to_folder_fields ? "true" : "false") +
                                                        "," + std::to_string(display_format) + ")");
    std::vector<FakeUserPropertyData>& properties = mail_->data_.user_properties;
    const bool exists = std::any_of(properties.begin(), properties.end(),
                                    [&](const FakeUserPropertyData& p) { return p.name == name; });
    if (exists) {
        throw OutlookError("UserProperties.Add", "a property named " + name + " exists");
    }
    // A new Yes/No property starts as No, every other kind without a value.
    properties.push_back({name, type, type == 6 ? Variant(false) : Variant()});
    return std::make_shared<FakeUserProperty>(state_, mail_, properties.size() - 1);
}

FakeUserProperty::FakeUserProperty(std::shared_ptr<FakeOutlookState> state,
                                   std::shared_ptr<FakeMail> mail, std::size_t index)
    : state_(std::move(state)), mail_(std::move(mail)), index_(index) {}

std::string FakeUserProperty::Name() const {
    auto lock = state_->Enter("UserProperty.Name");
    return mail_->data_.user_properties.at(index_).name;
}

Variant FakeUserProperty::Value() const {
    auto lock = state_->Enter("UserProperty.Value");
    return mail_->data_.user_properties.at(index_).value;
}

void FakeUserProperty::SetValue(const Variant& value) {
    auto lock = state_->Enter("UserProperty.SetValue", "UserProperty.SetValue");
    mail_->data_.user_properties.at(index_).value = value;
}

}  // namespace planwarte
