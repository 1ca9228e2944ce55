#include "adapters/profile/config_file_text.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace planwarte {

std::optional<std::string> ReadConfigFile(const std::string& path, const ProfileTrace& trace) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return std::nullopt;
    }
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, error)) {
        in.open(path, std::ios::binary);
    }
    std::ostringstream text;
    if (in && !(text << in.rdbuf()).fail() && !in.bad()) {
        return text.str();
    }
    // An empty file is read fine: copying nothing fails the stream, so check for it.
    if (in && std::filesystem::file_size(path, error) == 0 && !error) {
        return std::string();
    }
    if (trace) {
        trace("profile: cannot read " + path + ", skipped");
    }
    return std::nullopt;
}

}  // namespace planwarte
