#include "adapters/linux/linux_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace planwarte {

namespace {

std::string WithSeparator(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string UserDataFolder() {
    std::string base = Environment("XDG_DATA_HOME");
    if (base.empty()) {
        base = Environment("HOME") + "/.local/share";
    }
    return WithSeparator(base) + "planwarte/";
}

std::string ChooseProgramFolder(const std::string& installed_data) {
    if (const std::string home = Environment("PLANWARTE_HOME"); !home.empty()) {
        return WithSeparator(home);
    }
    const std::string beside = ExecutableFolder();
    if (std::filesystem::exists(beside + kDataMarkerFile)) {
        return beside;
    }
    const std::string folder = UserDataFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    CopyMissingFiles(installed_data, folder);
    return folder;
}

std::string ChooseTempFolder() {
    if (const std::string temp = Environment("TEMP"); !temp.empty()) {
        return WithSeparator(temp);
    }
    if (const std::string runtime = Environment("XDG_RUNTIME_DIR"); !runtime.empty()) {
        if (std::string folder = PrivateFolder(WithSeparator(runtime) + "planwarte");
            !folder.empty()) {
            return folder;
        }
    }
    if (std::string folder = PrivateFolder("/tmp/planwarte-" + std::to_string(::getuid()));
        !folder.empty()) {
        return folder;
    }
    // Someone else holds the usual name: a fresh private folder for this run instead.
    char pattern[] = "/tmp/planwarte-XXXXXX";
    return ::mkdtemp(pattern) ? WithSeparator(pattern) : "/nonexistent/";
}

}  // namespace

std::string ExecutableFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("./") : WithSeparator(exe.parent_path().string());
}

std::string PrivateFolder(const std::string& path) {
    ::mkdir(path.c_str(), 0700);
    struct stat info {};
    // lstat: a link in place of the folder is refused, not followed.
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return "";
    }
    return WithSeparator(path);
}

void CopyMissingFiles(const std::string& source, const std::string& target) {
    namespace fs = std::filesystem;
    std::error_code walk_error;
    for (auto it = fs::recursive_directory_iterator(source, walk_error);
         !walk_error && it != fs::recursive_directory_iterator(); it.increment(walk_error)) {
        // A file that cannot be copied is left out; the program reports what it then misses.
        std::error_code ignored;
        const fs::path destination = fs::path(target) / fs::relative(it->path(), source, ignored);
        if (it->is_directory(ignored)) {
            fs::create_directories(destination, ignored);
        } else if (!fs::exists(destination, ignored)) {
            fs::copy_file(it->path(), destination, ignored);
        }
    }
}

LinuxFolders::LinuxFolders(std::string installed_data)
    : program_folder_(ChooseProgramFolder(installed_data)), temp_folder_(ChooseTempFolder()) {}

}  // namespace planwarte
