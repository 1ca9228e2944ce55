#pragma once

#include <string>
#include <vector>

#include "adapters/profile/demo_data.h"

// The parts of the demo, each collection with its displayname and color files.
namespace planwarte {

inline constexpr const char* kDemoCollectionsFolder = "Kalender";
inline constexpr const char* kDemoCalendarName = "Demo-Kalender";
inline constexpr const char* kDemoMaildirName = "Demo-Post";

void AddDemoAppointments(DateTime today, std::vector<DemoFile>& files);
void AddDemoHolidays(int first_year, int last_year, DateTime today, std::vector<DemoFile>& files);
void AddDemoBirthdays(DateTime today, std::vector<DemoFile>& files);
void AddDemoTasks(DateTime today, std::vector<DemoFile>& files);
void AddDemoMails(DateTime now, std::vector<DemoFile>& files);

// A collection's displayname and color files.
void AddDemoCollection(const std::string& name, const std::string& color,
                       std::vector<DemoFile>& files);
// One item file: the lines of one component wrapped into a VCALENDAR.
void AddDemoItem(const std::string& collection, const std::string& uid,
                 const std::vector<std::string>& component, std::vector<DemoFile>& files);
// The DTSTAMP every demo item carries: the start of the day in UTC.
std::string DemoStamp(DateTime today);

// Easter Sunday of a year (Gregorian).
DateTime EasterSunday(int year);

}  // namespace planwarte
