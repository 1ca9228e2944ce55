#pragma once

#include "core/outlook/used_folders.h"
#include "core/settings/settings_store.h"

namespace planwarte {

// The main window's current item style, from the main settings: font, size and colour, in
// list form and with holidays shown. The used folders start from a copy of it.
FolderStyle MainFolderStyle(SettingsStore& settings);

}  // namespace planwarte
