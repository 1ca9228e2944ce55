#include "core/page/task_lines.h"

#include <exception>
#include <memory>

#include "core/app/event_loop.h"
#include "core/common/string_table.h"
#include "core/page/day_filters.h"
#include "core/page/found_items_walk.h"
#include "core/page/item_line.h"
#include "core/page/item_text.h"

namespace planwarte {

namespace {

constexpr int kReadingFolderId = 1301;  // "lesen"

// One task folder walked once. The style is the folder's own copy; a font size too small to
// read is corrected in it for the whole folder.
class TaskWalk {
  public:
    TaskWalk(const DayTextSources& sources, const TMAPIFolderObject& folder,
             std::string folder_entry_id, std::string filter, std::vector<std::string>& lines)
        : sources_(sources),
          folder_(folder),
          folder_entry_id_(std::move(folder_entry_id)),
          filter_(std::move(filter)),
          style_(folder.style),
          lines_(lines) {}

    void Run();

  private:
    void AddEntry(const std::shared_ptr<OlItem>& item);
    void Trace(const std::string& marker, const std::exception& error) const {
        sources_.trace(marker + error.what());
    }

    const DayTextSources& sources_;
    const TMAPIFolderObject& folder_;
    std::string folder_entry_id_;
    std::string filter_;
    FolderStyle style_;
    std::vector<std::string>& lines_;
};

void TaskWalk::Run() {
    if (!folder_.folder) {
        sources_.ensure_session();
        return;
    }
    OlFolder& folder = *folder_.folder;
    sources_.progress_step(folder.Name() + " " + LoadStr(kReadingFolderId));

    std::shared_ptr<OlItems> items;
    std::shared_ptr<OlItem> item;
    try {
        items = folder.Items();
        if (!items) {
            throw OutlookError("Items", "no collection");
        }
        items->Sort("[DueDate]", false);
        item = items->Find(filter_);
    } catch (const std::exception& error) {
        Trace("_13_", error);
        return;
    }
    WalkFoundItems(
        *items, std::move(item), [this](const std::shared_ptr<OlItem>& found) { AddEntry(found); },
        [this](const std::exception& error) { Trace("_14_", error); },
        [this](const std::exception& error) { Trace("_15_", error); });
}

void TaskWalk::AddEntry(const std::shared_ptr<OlItem>& item) {
    if (sources_.pause_between_tasks_ms > 0) {
        sources_.loop.Sleep(sources_.pause_between_tasks_ms);
    }
    const auto task = std::dynamic_pointer_cast<OlTaskItem>(item);
    if (!task) {
        throw OutlookError("TaskItem", "the item is not a task");
    }
    style_.font_size = ReadableFontSize(style_.font_size);
    const std::string text =
        EntryText(task->Importance(), task->Subject(), style_.font_size, sources_.template_folder);
    const ItemLink link{.item_entry_id = task->EntryID(), .folder_entry_id = folder_entry_id_};
    const std::string opening = ItemLine(sources_, task, style_, link);
    lines_.push_back(opening);
    lines_.push_back(TrimRight(text));
    // The opening line's link is closed with the entry, so it cannot take in what follows.
    lines_.push_back((opening.empty() ? "" : "</a>") + std::string("</font></span>"));
    if (style_.show_clock) {
        lines_.push_back("</li>");
    }
}

}  // namespace

void AppendTasksOfDay(const DayTextSources& sources, DateTime day, TaskSelection selection,
                      std::vector<std::string>& lines) {
    lines.push_back("<br>");
    for (const UsedFolderLine& line : sources.tasks) {
        if (!line.object) {
            continue;
        }
        try {
            const std::string filter = selection == TaskSelection::kDueOnDay
                                           ? OpenTasksDueFilter(day)
                                           : std::string(kOpenTasksFilter);
            TaskWalk(sources, *line.object, line.name, filter, lines).Run();
        } catch (const std::exception& error) {
            sources.trace(std::string("_20_:") + error.what());
        }
    }
}

}  // namespace planwarte
