#pragma once

#include <optional>
#include <string>

#include "adapters/profile/data_profile.h"

namespace planwarte {

// The text of a configuration file; nullopt when there is none, and also, traced with its
// path, when it exists but cannot be read.
std::optional<std::string> ReadConfigFile(const std::string& path, const ProfileTrace& trace);

}  // namespace planwarte
