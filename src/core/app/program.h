#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/services.h"
#include "core/common/date_time.h"
#include "core/page/page_geometry.h"

namespace planwarte {

// The whole program: start delay, splash, main window, message loop. Returns the exit code.
int RunProgram(Services& services, const std::vector<std::string>& arguments);

struct RenderedPage {
    int exit_code = 0;
    std::string html;
};

// The screen a page is laid out for when there is no screen: a common desktop size.
inline constexpr PixelSize kRenderScreen{1920, 1080};

// The start-up and page build of the program without window, splash, instance lock and start
// delay; the settings reads and writes of the start-up still happen.
RenderedPage RenderPage(Services& services, std::optional<DateTime> date);

// Every calendar and task folder the settings dialog offers, one line each: EntryID, StoreID,
// DefaultItemType, whether it is shown (1) or not (0), and the dialog's caption, separated by
// tabs. Each listed folder gets its settings sub-key, so that it can be ticked by hand.
RenderedPage ListFolders(Services& services);

// Ticks every calendar and task folder when none was ever chosen (no folder entry says whether
// it is shown), so that a first start shows all of a calendar source at once,
// with holidays marked and items in their own colours.
// Errors are traced; the start goes on with what the settings hold.
void ChooseEveryFolderOnFirstStart(Services& services);

}  // namespace planwarte
