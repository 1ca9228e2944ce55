#pragma once

#include <string>

#include "core/app/host_services.h"

namespace planwarte {

// The name of the file that marks a folder as holding the program's data.
inline constexpr const char* kDataMarkerFile = "planwarte-data.version";

// Where the program keeps its files on Linux.
//  - Program folder: $PLANWARTE_HOME; else the executable's folder when the program's data
//    lies beside it (a build tree); else $XDG_DATA_HOME/planwarte (~/.local/share/planwarte),
//    filled with the installed data on first start, so the program can write beside itself.
//  - Temporary folder: $TEMP when set; else a folder of this user's that nobody else can write
//    into: $XDG_RUNTIME_DIR/planwarte, or /tmp/planwarte-<uid>.
class LinuxFolders : public Folders {
  public:
    // installed_data: the folder of the installed data (share/planwarte).
    explicit LinuxFolders(std::string installed_data);

    std::string ProgramFolder() const override { return program_folder_; }
    std::string TempFolder() const override { return temp_folder_; }

  private:
    std::string program_folder_;
    std::string temp_folder_;
};

// The folder of the running executable, with a trailing "/".
std::string ExecutableFolder();

// A folder only this user can write into, created when missing; empty when no such folder
// can be had (another user owns it, it is a link, or it is writable by others).
std::string PrivateFolder(const std::string& path);

// Copies the files of source into target that target does not have yet, recursively.
void CopyMissingFiles(const std::string& source, const std::string& target);

}  // namespace planwarte
