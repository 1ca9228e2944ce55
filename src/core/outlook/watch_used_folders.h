#pragma once

#include "core/outlook/change_detection.h"
#include "core/outlook/used_folders.h"

namespace planwarte {

// Connects a change sink to every loaded folder of the list that has none yet, reporting to
// detector. Call after each load of the used-folder lists; the sinks go with their folder
// objects. A folder whose items cannot be reached stays without change detection.
void WatchUsedFolders(UsedFolderList& list, ChangeDetector& detector);

}  // namespace planwarte
