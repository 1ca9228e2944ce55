#include "core/outlook/watch_used_folders.h"

#include <memory>
#include <utility>

namespace planwarte {

void WatchUsedFolders(UsedFolderList& list, ChangeDetector& detector) {
    for (UsedFolderLine& line : list) {
        TMAPIFolderObject* object = line.object.get();
        if (object == nullptr || !object->folder || object->items_events) {
            continue;
        }
        std::shared_ptr<OlItems> items;
        try {
            items = object->folder->Items();
        } catch (const OutlookError&) {
            continue;
        }
        auto sink = std::make_unique<CItemsEvents>([&detector] { detector.ItemChanged(); });
        sink->Connect(std::move(items));
        if (sink->Connected()) {
            object->items_events = std::move(sink);
        }
    }
}

}  // namespace planwarte
