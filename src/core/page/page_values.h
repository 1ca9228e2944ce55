#pragma once

#include <cstdint>
#include <string>

#include "core/settings/settings_store.h"

namespace planwarte {

// The settings a page build reads once at its start, already turned into the texts the tags
// insert. The member defaults are what a build uses when the settings key cannot be opened.
struct PageValues {
    std::string font_face;  // as stored; the tags escape it for the page
    std::int32_t font_size = 8;
    std::string font_color = "#000000";
    std::string day_color;    // empty: the day cells are transparent
    std::string today_color;  // empty: today's cell is transparent
    std::string weekend_color = "#FF0000";
    std::int32_t view_kind = 1;     // VORLAGE as stored, also outside 0..5
    int first_weekday = 2;          // 1 Sunday .. 7 Saturday
    bool text_before_today = true;  // vorHeute: days before today get their texts
    bool show_full_weeks = false;   // month view padded with the neighbouring months
};

// Opens the settings key (creating it when missing) and reads the page values. A missing cell
// colour or transparency flag stores the flag as set.
PageValues ReadPageValues(SettingsStore& settings);

}  // namespace planwarte
