#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/page/template_set.h"

namespace planwarte {

class FileSystem;
class SettingsStore;
class UserNotice;

// One role of a design: its key in design.ini, the file used when the key is absent, and
// whether loading the design insists on the file (the view bodies are checked by the page
// build that needs them).
struct TemplateSlot {
    std::string_view key;
    std::string_view default_file;
    std::string TemplateSet::*path;
    bool checked_at_load;
};

// The nine slots in the order they are read.
std::span<const TemplateSlot> TemplateSlots();

// Everything design loading reads from and reports to.
struct DesignSources {
    SettingsStore& settings;
    const FileSystem& files;
    std::string program_folder;  // ends with "/"
    // The start-up progress step; may be empty.
    std::function<void(const std::string&)> progress_step;
    UserNotice& notice;
};

// Resolves the chosen design (settings value Design, "Standard" when design.ini has no such
// section) into the full paths of its template files. When one of the templates every page
// needs is missing, the user is told and ProgramExit{1} is thrown.
TemplateSet LoadDesign(const DesignSources& sources);

// The template folder: the entry of the program folder named "vorlagen" in any letter case,
// with a trailing "/".
std::string TemplateFolder(const FileSystem& files, const std::string& program_folder);

// The designs that design.ini offers, sorted without regard to case; empty without the file.
std::vector<std::string> DesignNames(const FileSystem& files, const std::string& program_folder);

}  // namespace planwarte
