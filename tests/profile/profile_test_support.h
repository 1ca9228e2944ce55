#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "adapters/profile/data_profile.h"
#include "common/temp_folder.h"

namespace planwarte::testing_support {

// A home folder of its own with the usual configuration and data folders.
class ProfileHome {
  public:
    ProfileHome() {
        environment_.home = folder_.Path() + "home";
        environment_.config_home = environment_.home + "/.config";
        environment_.data_home = environment_.home + "/.local/share";
        std::filesystem::create_directories(environment_.config_home);
    }

    // Writes a file below the home folder, making its folders.
    void Write(const std::string& relative, const std::string& text) const {
        const std::filesystem::path path = environment_.home + "/" + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    // Makes a folder below the home folder and answers its path.
    std::string Folder(const std::string& relative) const {
        const std::string path = environment_.home + "/" + relative;
        std::filesystem::create_directories(path);
        return path;
    }
    std::string Path(const std::string& relative) const {
        return environment_.home + "/" + relative;
    }
    const ProfileEnvironment& Environment() const { return environment_; }

    ProfileTrace Trace() {
        return [this](const std::string& line) { trace_.push_back(line); };
    }
    const std::vector<std::string>& TraceLines() const { return trace_; }

  private:
    TempFolder folder_;
    ProfileEnvironment environment_;
    std::vector<std::string> trace_;
};

}  // namespace planwarte::testing_support
