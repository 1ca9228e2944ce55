#pragma once

#include <string>

namespace planwarte {

// Identifiers of the program's own texts. The texts themselves live in string_table.cpp,
// one entry per identifier, exactly as the program shows them.
namespace msg {
inline constexpr int kSafeItemLibraryMissing = 1001;
inline constexpr int kNewMailText = 1101;
inline constexpr int kOutlookNotInstalled = 1201;
inline constexpr int kOutlookNotInstalledShort = 1202;
inline constexpr int kOutlookRestartedTooOften = 1203;
inline constexpr int kDesignIncomplete = 1205;
inline constexpr int kInitialising = 1207;
inline constexpr int kPronunciationNotLoaded = 1208;
inline constexpr int kStartingOutlook = 1210;
inline constexpr int kAppointmentsIntro = 1213;
inline constexpr int kProductCaption = 1216;
inline constexpr int kLoadingTemplates = 1217;
inline constexpr int kReadingCalendar = 1222;
inline constexpr int kAgentSettingsMissing = 1223;
inline constexpr int kTrayTodayCaption = 1307;
inline constexpr int kTimeAnnouncementText = 1309;
inline constexpr int kTimeAnnouncementPattern = 1310;
inline constexpr int kWeekNumberCaption = 1312;
inline constexpr int kCurrentDatePattern = 1313;
inline constexpr int kTasksCaption = 1314;
inline constexpr int kAppointmentsCaption = 1315;
// The weekday names of the month header, Sunday first: kSundayName + 0 .. kSundayName + 6.
inline constexpr int kSundayName = 1400;
}  // namespace msg

// The text of a message identifier; the empty text for an identifier the table does not hold.
std::string LoadStr(int id);

// Whether the table holds the identifier (for checks of completeness).
bool HasStr(int id);

}  // namespace planwarte
