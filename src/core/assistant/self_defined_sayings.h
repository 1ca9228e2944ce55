#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/date_time.h"

namespace planwarte {

class AgentHost;
class Clock;
class FileSystem;
class IniFile;

inline constexpr const char* kSayingsFileName = "sprueche.ini";

// The names of the user's sayings in list order: "Tab0".."Tab99" of the section "Namen", up
// to the first missing or empty one, without the removed ones ("empty").
std::vector<std::string> SayingNames(const IniFile& sayings);

// The time of day of a saying's "Zeit": a date-time number with ',' or '.' as the decimal
// separator, with or without a date part; anything that is no number counts as 00:00.
TimeOfDay SayingTime(std::string_view zeit);

// Speaks every saying whose time is the current hour and minute, one after another in list
// order, each after its animation. The file is read anew at every check. An error with one
// saying is traced and the next one follows.
void CheckSayings(AgentHost& host, const FileSystem& files, const std::string& program_folder,
                  const Clock& clock, const std::function<void(const std::string&)>& trace);

}  // namespace planwarte
