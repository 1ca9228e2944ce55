#include "core/page/design_loader.h"

#include <algorithm>
#include <array>
#include <memory>

#include "core/app/file_system.h"
#include "core/app/host_services.h"
#include "core/app/program_exit.h"
#include "core/common/ini_file.h"
#include "core/common/string_table.h"
#include "core/page/path_ignoring_case.h"
#include "core/settings/key_names.h"
#include "core/settings/setting_values.h"

namespace planwarte {

namespace {

constexpr std::string_view kFallbackDesign = "Standard";
constexpr std::string_view kTemplateFolderName = "vorlagen";
constexpr std::string_view kDesignFileName = "design.ini";

constexpr std::array<TemplateSlot, 9> kSlots = {{
    {"haupt", "haupt.mkf", &TemplateSet::haupt, true},
    {"monat", "monat.mkf", &TemplateSet::monat, true},
    {"tag", "tag.mkf", &TemplateSet::tag, true},
    {"woche", "woche.mkf", &TemplateSet::woche, false},
    {"2wochen", "2wochen.mkf", &TemplateSet::zwei_wochen, false},
    {"3wochen", "3wochen.mkf", &TemplateSet::drei_wochen, false},
    {"xtage", "xtage.mkf", &TemplateSet::xtage, false},
    {"heute", "heute.mkf", &TemplateSet::heute, false},
    {"xtagetag", "xtagetag.mkf", &TemplateSet::xtagetag, true},
}};

IniFile ReadDesignFile(const FileSystem& files, const std::string& template_folder) {
    const std::string path =
        ResolvePathIgnoringCase(files, template_folder, kDesignFileName, EntryKind::kFile);
    return IniFile(files.ReadFile(path).value_or(""));
}

// The stored design name. A value of the wrong type reads as the fallback design; without
// the settings key the name stays empty, which no design matches.
std::string StoredDesignName(SettingsStore& settings) {
    const std::unique_ptr<SettingsKey> key = settings.OpenKey(kSettingsKeyPath, false);
    if (!key) {
        return {};
    }
    return ReadStringOr(*key, "Design", kFallbackDesign);
}

std::vector<std::string> SortedSectionNames(const IniFile& design_file) {
    std::vector<std::string> names = design_file.SectionNames();
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return FoldCase(a) < FoldCase(b);
    });
    return names;
}

}  // namespace

std::span<const TemplateSlot> TemplateSlots() {
    return kSlots;
}

std::string TemplateFolder(const FileSystem& files, const std::string& program_folder) {
    return ResolvePathIgnoringCase(files, program_folder, kTemplateFolderName, EntryKind::kFolder) +
           "/";
}

std::vector<std::string> DesignNames(const FileSystem& files, const std::string& program_folder) {
    return SortedSectionNames(ReadDesignFile(files, TemplateFolder(files, program_folder)));
}

TemplateSet LoadDesign(const DesignSources& sources) {
    if (sources.progress_step) {
        sources.progress_step("Load Design");
    }
    TemplateSet set;
    set.folder = TemplateFolder(sources.files, sources.program_folder);

    std::string design = StoredDesignName(sources.settings);
    const IniFile design_file = ReadDesignFile(sources.files, set.folder);
    const std::vector<std::string> designs = SortedSectionNames(design_file);
    if (std::none_of(designs.begin(), designs.end(),
                     [&](const std::string& name) { return SameName(name, design); })) {
        design = kFallbackDesign;
    }

    bool complete = true;
    for (const TemplateSlot& slot : kSlots) {
        const std::string file = design_file.Value(design, slot.key, slot.default_file);
        std::string& path = set.*slot.path;
        path = ResolvePathIgnoringCase(sources.files, set.folder, file, EntryKind::kFile);
        if (slot.checked_at_load && !sources.files.FileExists(path)) {
            complete = false;
        }
    }
    if (!complete) {
        sources.notice.ShowMessage(LoadStr(msg::kDesignIncomplete));
        throw ProgramExit{1};
    }
    return set;
}

}  // namespace planwarte
