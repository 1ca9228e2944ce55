#include "khal_list.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace planwarte::bench {

namespace fs = std::filesystem;

std::optional<std::string> FindKhal() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/khal";
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

KhalList::KhalList(std::string khal, const std::string& data_root, const std::string& work_folder)
    : khal_(std::move(khal)), config_(work_folder + "/config"), cache_(work_folder + "/khal.db") {
    fs::create_directories(work_folder);
    std::vector<fs::path> calendars;
    for (const auto& entry : fs::directory_iterator(fs::path(data_root) / "calendars")) {
        if (entry.is_directory()) {
            calendars.push_back(entry.path());
        }
    }
    std::sort(calendars.begin(), calendars.end());
    std::ofstream config(config_);
    config << "[calendars]\n";
    for (const fs::path& calendar : calendars) {
        config << "[[" << calendar.filename().string() << "]]\npath = " << calendar.string()
               << "\n";
    }
    // The zone the bench runs the program in (run.sh sets TZ).
    config << "[locale]\n"
              "timeformat = %H:%M\n"
              "dateformat = %Y-%m-%d\n"
              "longdateformat = %Y-%m-%d\n"
              "datetimeformat = %Y-%m-%d %H:%M\n"
              "longdatetimeformat = %Y-%m-%d %H:%M\n"
              "default_timezone = Europe/Berlin\n"
              "local_timezone = Europe/Berlin\n"
              "[sqlite]\n"
              "path = "
           << cache_ << "\n";
    if (!config) {
        throw std::runtime_error("cannot write " + config_);
    }
}

void KhalList::DropCache() const {
    std::error_code ignored;
    fs::remove(cache_, ignored);
}

double KhalList::List(const std::string& first_day, int days) const {
    const std::string span = std::to_string(days) + "d";
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::execl(khal_.c_str(), khal_.c_str(), "-c", config_.c_str(), "list", first_day.c_str(),
                span.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("khal list failed");
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace planwarte::bench
