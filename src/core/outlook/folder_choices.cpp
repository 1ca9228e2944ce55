#include <exception>

#include "core/outlook/used_folders.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

// The settings dialog's two check lists of calendar and task folders, and what its OK stores.
namespace planwarte {

namespace {

using TraceFunction = std::function<void(const std::string&)>;

std::string FolderKeyPath(const char* list_name, const std::string& entry_id) {
    return std::string(kSettingsKeyPath) + "\\" + list_name + "\\" + entry_id;
}

// Opening with creation gives every listed folder its sub-key; a line is ticked only when
// the sub-key says so readably.
bool TickedInStore(SettingsStore& settings, const char* list_name, const std::string& entry_id) {
    auto key = settings.OpenKey(FolderKeyPath(list_name, entry_id), true);
    return key && ReadBoolOr(*key, "isUsed", false);
}

int SubfolderCount(OlFolder& folder) {
    auto folders = folder.Folders();
    return folders ? folders->Count() : 0;
}

class FolderWalk {
  public:
    FolderWalk(SettingsStore& settings, const TraceFunction& trace)
        : settings_(settings), trace_(trace) {}

    // Lists the calendar and task folders below `parent`, at every depth.
    void Walk(OlFolder& parent) {
        std::shared_ptr<OlFolders> folders;
        for (int index = 1;; ++index) {
            // The count is read again on every step, so folders added meanwhile are seen.
            try {
                if (!folders) {
                    folders = parent.Folders();
                }
                if (!folders || index > folders->Count()) {
                    return;
                }
            } catch (const std::exception& error) {
                TraceError(error);
                return;
            }
            try {
                VisitSubfolder(parent, folders->Item(index));
            } catch (const std::exception& error) {
                TraceError(error);
            }
        }
    }

    FolderChoices TakeChoices() { return std::move(choices_); }

  private:
    void VisitSubfolder(OlFolder& parent, const std::shared_ptr<OlFolder>& folder) {
        if (!folder) {
            return;
        }
        const int item_type = folder->DefaultItemType();
        if (item_type == kItemTypeAppointment) {
            choices_.calendars.push_back(Choice(parent, *folder, kUsedCalendarsKeyName));
        } else if (item_type == kItemTypeTask) {
            choices_.tasks.push_back(Choice(parent, *folder, kUsedTasksKeyName));
        }
        if (SubfolderCount(*folder) > 0) {
            Walk(*folder);
        }
    }

    FolderChoice Choice(OlFolder& parent, OlFolder& folder, const char* list_name) {
        FolderChoice choice;
        choice.caption = parent.Name() + " => " + folder.Name();
        choice.entry_id = folder.EntryID();
        choice.store_id = folder.StoreID();
        choice.used = TickedInStore(settings_, list_name, choice.entry_id);
        return choice;
    }

    void TraceError(const std::exception& error) {
        if (trace_) {
            trace_(error.what());
        }
    }

    SettingsStore& settings_;
    const TraceFunction& trace_;
    FolderChoices choices_;
};

void SaveChoices(SettingsStore& settings, const char* list_name,
                 const std::vector<FolderChoice>& choices) {
    for (const FolderChoice& choice : choices) {
        if (auto key = settings.OpenKey(FolderKeyPath(list_name, choice.entry_id), true)) {
            key->WriteBool("isUsed", choice.used);
            key->WriteString("SID", choice.store_id);
        }
    }
}

}  // namespace

FolderChoices EnumerateOutlookFolders(SettingsStore& settings, OlNamespace& outlook,
                                      const TraceFunction& trace) {
    FolderWalk walk(settings, trace);
    auto stores = outlook.Folders();
    const int store_count = stores ? stores->Count() : 0;
    for (int index = 1; index <= store_count; ++index) {
        // One store that does not answer must not hide the folders of the others.
        try {
            auto store = stores->Item(index);
            if (store && SubfolderCount(*store) > 0) {
                walk.Walk(*store);
            }
        } catch (const std::exception& error) {
            if (trace) {
                trace(error.what());
            }
        }
    }
    return walk.TakeChoices();
}

void SaveFolderChoices(SettingsStore& settings, const FolderChoices& choices) {
    SaveChoices(settings, kUsedCalendarsKeyName, choices.calendars);
    SaveChoices(settings, kUsedTasksKeyName, choices.tasks);
}

}  // namespace planwarte
