#include "adapters/ical/ical_item_objects.h"

#include <cctype>
#include <cmath>

#include "adapters/ical/ical_folder.h"

namespace planwarte {

namespace {

const EventFields& FieldsOf(const ItemRecord& record, const Occurrence* occurrence) {
    if (occurrence != nullptr && occurrence->override_index >= 0) {
        return record.event->overrides[static_cast<std::size_t>(occurrence->override_index)].fields;
    }
    return record.event->fields;
}

RecurrenceState StateOf(const ItemRecord& record, const Occurrence* occurrence) {
    if (occurrence != nullptr) {
        return occurrence->override_index >= 0 ? RecurrenceState::Exception
                                               : RecurrenceState::Occurrence;
    }
    return record.event->rule ? RecurrenceState::Master : RecurrenceState::NotRecurring;
}

std::shared_ptr<OlFolder> LockedFolder(const std::weak_ptr<IcalFolder>& folder) {
    std::shared_ptr<IcalFolder> parent = folder.lock();
    if (!parent) {
        throw OutlookError("Parent", "the item's folder is gone");
    }
    return parent;
}

void Open(const OpenPath& open_path, const std::string& path) {
    if (open_path) {
        open_path(path);
    }
}

}  // namespace

std::shared_ptr<OlItem> MakeItemObject(std::shared_ptr<const ItemRecord> record,
                                       std::weak_ptr<IcalFolder> folder, OpenPath open_path,
                                       const std::optional<Occurrence>& occurrence) {
    if (record->task) {
        return std::make_shared<IcalTask>(std::move(record), std::move(folder),
                                          std::move(open_path));
    }
    return std::make_shared<IcalAppointment>(std::move(record), std::move(folder),
                                             std::move(open_path), occurrence);
}

// ---- IcalAppointment ----

IcalAppointment::IcalAppointment(std::shared_ptr<const ItemRecord> record,
                                 std::weak_ptr<IcalFolder> folder, OpenPath open_path,
                                 std::optional<Occurrence> occurrence)
    : record_(std::move(record)),
      folder_(std::move(folder)),
      open_path_(std::move(open_path)),
      occurrence_(occurrence) {}

const EventFields& IcalAppointment::Fields() const {
    return FieldsOf(*record_, occurrence_ ? &*occurrence_ : nullptr);
}

std::string IcalAppointment::EntryID() const {
    return record_->entry_id;
}
std::string IcalAppointment::Subject() const {
    return Fields().subject;
}
std::shared_ptr<OlFolder> IcalAppointment::Parent() const {
    return LockedFolder(folder_);
}
void IcalAppointment::Display() {
    Open(open_path_, record_->file_path);
}
std::string IcalAppointment::Location() const {
    return Fields().location;
}
std::string IcalAppointment::Categories() const {
    return Fields().categories;
}
std::string IcalAppointment::Body() const {
    return Fields().body;
}
DateTime IcalAppointment::Start() const {
    return occurrence_ ? occurrence_->start : Fields().start;
}
DateTime IcalAppointment::End() const {
    return occurrence_ ? occurrence_->end : Fields().end;
}
bool IcalAppointment::AllDayEvent() const {
    return Fields().all_day;
}
bool IcalAppointment::IsRecurring() const {
    return record_->event->rule.has_value();
}
int IcalAppointment::Importance() const {
    return Fields().importance;
}
RecurrenceState IcalAppointment::GetRecurrenceState() const {
    return StateOf(*record_, occurrence_ ? &*occurrence_ : nullptr);
}
bool IcalAppointment::ReminderSet() const {
    return ReminderOf(Fields().alarm, Start(), End()).set;
}
DateTime IcalAppointment::ReminderTime() const {
    return ReminderOf(Fields().alarm, Start(), End()).time;
}

std::shared_ptr<OlRecurrencePattern> IcalAppointment::GetRecurrencePattern() {
    // A single appointment has no pattern (the object model would turn it into a series).
    if (!record_->event->rule) {
        return nullptr;
    }
    return std::make_shared<IcalRecurrencePattern>(Master(), record_);
}

std::shared_ptr<IcalAppointment> IcalAppointment::Master() const {
    if (!occurrence_) {
        return std::const_pointer_cast<IcalAppointment>(shared_from_this());
    }
    return std::make_shared<IcalAppointment>(record_, folder_, open_path_, std::nullopt);
}

// An override without its own text shows its series' text.
std::string IcalAppointment::SafeBody() const {
    const std::string& own = Fields().body;
    return own.empty() ? record_->event->fields.body : own;
}

int IcalAppointment::LabelColour() const {
    const int own = Fields().label_colour;
    return own != 0 ? own : record_->event->fields.label_colour;
}

// ---- IcalRecurrencePattern ----

IcalRecurrencePattern::IcalRecurrencePattern(std::shared_ptr<IcalAppointment> master,
                                             std::shared_ptr<const ItemRecord> record)
    : master_(std::move(master)), record_(std::move(record)) {}

DateTime IcalRecurrencePattern::PatternStartDate() const {
    return DateOf(record_->event->fields.start);
}

bool IcalRecurrencePattern::NoEndDate() const {
    return record_->event->rule->no_end;
}

// The time of day at which the occurrences end.
DateTime IcalRecurrencePattern::EndTime() const {
    const double end = record_->event->fields.end.value;
    return DateTime(end - std::floor(end));
}

std::shared_ptr<OlAppointmentItem> IcalRecurrencePattern::Parent() const {
    return master_;
}

// ---- IcalTask ----

IcalTask::IcalTask(std::shared_ptr<const ItemRecord> record, std::weak_ptr<IcalFolder> folder,
                   OpenPath open_path)
    : record_(std::move(record)), folder_(std::move(folder)), open_path_(std::move(open_path)) {}

Reminder IcalTask::TaskReminder() const {
    const TaskRecord& task = *record_->task;
    return ReminderOf(task.alarm, task.alarm_base, task.alarm_base);
}

std::string IcalTask::EntryID() const {
    return record_->entry_id;
}
std::string IcalTask::Subject() const {
    return record_->task->subject;
}
std::shared_ptr<OlFolder> IcalTask::Parent() const {
    return LockedFolder(folder_);
}
void IcalTask::Display() {
    Open(open_path_, record_->file_path);
}
std::string IcalTask::Body() const {
    return record_->task->body;
}
int IcalTask::Importance() const {
    return record_->task->importance;
}
DateTime IcalTask::DueDate() const {
    return record_->task->due;
}
bool IcalTask::Complete() const {
    return record_->task->complete;
}
bool IcalTask::ReminderSet() const {
    return TaskReminder().set;
}
DateTime IcalTask::ReminderTime() const {
    return TaskReminder().time;
}
std::string IcalTask::SafeBody() const {
    return record_->task->body;
}

}  // namespace planwarte
