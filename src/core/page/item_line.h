#pragma once

#include <memory>
#include <string>

#include "core/outlook/object_model.h"
#include "core/outlook/used_folders.h"
#include "core/page/day_text_sources.h"

// The opening line of an appointment or task entry on the page: the list item in the
// folder's list form, the tooltip with the entry's details and the link that opens the item.
// The entry's closing lines close the link again.
namespace planwarte {

// What an entry's link opens.
struct ItemLink {
    std::string item_entry_id;
    std::string folder_entry_id;  // the used folder's line name
};

// Empty when the safe item cannot be made (the page build then tells the user once). In a
// folder that colours by label, the appointment's label colour becomes the style's font
// colour, which the following entries of the folder keep.
std::string ItemLine(const DayTextSources& sources, const std::string& age_text,
                     const std::shared_ptr<OlAppointmentItem>& appointment, FolderStyle& style,
                     const ItemLink& link);
// Empty, without telling anyone, when the safe item cannot be made.
std::string ItemLine(const DayTextSources& sources, const std::shared_ptr<OlTaskItem>& task,
                     const FolderStyle& style, const ItemLink& link);

// The longest body a tooltip shows, in characters; a longer one is cut and gets "...".
inline constexpr std::size_t kTooltipBodyLimit = 1000;

}  // namespace planwarte
