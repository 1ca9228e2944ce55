#pragma once

#include <optional>
#include <string>

namespace planwarte::bench {

// The khal program on PATH, if there is one.
std::optional<std::string> FindKhal();

// khal listing days of a generated data folder, with a configuration and a cache of its own,
// so the user's khal setup is neither read nor touched.
class KhalList {
  public:
    // Every folder below data_root/calendars is one khal calendar; the configuration and the
    // cache go into work_folder.
    KhalList(std::string khal, const std::string& data_root, const std::string& work_folder);

    // Forgets khal's cache, so that the next listing reads every file again.
    void DropCache() const;
    // Runs `khal list FIRST DAYSd` with its output discarded. Returns the wall time in
    // seconds; throws std::runtime_error when khal fails.
    double List(const std::string& first_day, int days) const;

  private:
    std::string khal_;
    std::string config_;
    std::string cache_;
};

}  // namespace planwarte::bench
