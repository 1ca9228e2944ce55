#pragma once

#include <cstdint>
#include <optional>

#include "core/common/date_time.h"
#include "core/common/format_date_time.h"

namespace planwarte {

// The six views of the page, as stored in VORLAGE.
enum class ViewKind : int {
    kMonth = 0,
    kWeek = 1,
    kXDays = 2,
    kToday = 3,
    kTwoWeeks = 4,
    kThreeWeeks = 5,
};

// Which body template a view expands.
enum class BodySlot { kNone, kWoche, kXTage, kHeute, kZweiWochen, kDreiWochen };

// FirstDayOfWeek (0 Monday .. 6 Sunday) as a weekday number (1 Sunday .. 7 Saturday).
int FirstWeekdayFromSetting(std::int32_t first_day_of_week);

// Steps back one day at a time until the weekday number is first_weekday (0 to 6 days).
// Throws std::invalid_argument for a first_weekday outside 1..7, which no day would reach.
DateTime MoveBackToWeekday(DateTime day, int first_weekday);

// Adds months keeping the day of month (clamped to the target month) and the time of day.
DateTime AddMonths(DateTime value, int months);

struct ViewLayout {
    DateTime first_shown_day;
    int displayed_month = 1;
    BodySlot body = BodySlot::kNone;
};

// Lays out a build for the date: a view kind outside 0..5 lays out as the month view and has no
// body.
ViewLayout LayoutView(int view_kind, DateTime build_date, int first_weekday);

// The month grid rule for the DAY tag of the month body. The row mark lives as long as the
// program (it is not reset between builds), so it is owned by the caller.
class MonthGrid {
  public:
    // Whether the cell at offset n (-1: no DATEOFFSET) gets its day.
    bool CellShown(DateTime first_shown_day, int displayed_month, int offset, bool show_full_weeks);
    bool RowMark() const { return row_mark_; }

  private:
    bool row_mark_ = false;
};

// The offsets of the x-days run: -days_back .. x_days - 1 (empty when x_days <= -days_back),
// limited to the offsets a 16-bit day offset can name.
struct XDaysRun {
    int first_offset = 0;
    int last_offset = -1;  // inclusive
};
// Settings reads: nullopt for a value that could not be read; key_opened false when the
// settings key itself could not be opened.
XDaysRun XDaysRunFor(bool key_opened, std::optional<int> x_days, std::optional<int> days_back);

// ISO 8601 week number by the program's formula.
int WeekNumber(DateTime value);

// The new FirstShownDay of the page's forward and back buttons. x_days is the step of the
// views 2 and 3 as read (1 when the key cannot be opened, 5 when the value is absent).
DateTime StepForwardDay(int view_kind, DateTime first_shown_day, int x_days);
DateTime StepBackDay(int view_kind, DateTime first_shown_day, int x_days);

// Whether the day counts as today: its short date equals the current date's.
bool IsSameDay(DateTime day, DateTime now,
               const FormatSettings& settings = DefaultFormatSettings());
bool IsWeekend(DateTime day);

}  // namespace planwarte
