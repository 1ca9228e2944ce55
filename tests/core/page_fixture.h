#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "adapters/fake/memory_file_system.h"
#include "adapters/fake/memory_settings_store.h"
#include "adapters/fake/virtual_clock.h"
#include "core/common/date_time.h"
#include "core/common/format_date_time.h"
#include "core/page/page_context.h"
#include "core/page/page_layout.h"
#include "core/page/page_values.h"
#include "core/page/template_expander.h"
#include "core/settings/setting_values.h"

namespace planwarte::testing_support {

inline constexpr const char* kTemplateFolder = "/opt/planwarte/vorlagen/";

// The design's nine files, all inside the template folder, named after their slot.
inline TemplateSet TestTemplates() {
    const std::string folder = kTemplateFolder;
    return TemplateSet{.haupt = folder + "haupt.mkf",
                       .monat = folder + "monat.mkf",
                       .tag = folder + "tag.mkf",
                       .woche = folder + "woche.mkf",
                       .zwei_wochen = folder + "2wochen.mkf",
                       .drei_wochen = folder + "3wochen.mkf",
                       .xtage = folder + "xtage.mkf",
                       .heute = folder + "heute.mkf",
                       .xtagetag = folder + "xtagetag.mkf",
                       .folder = folder};
}

// A page context on fake services, at Wednesday, 8 December 2004, 9:00, in an 800 x 600
// window on a 1024 x 768 screen. The day texts name the day they were asked for, so a test
// sees which day a tag meant.
class PageFixture : public ::testing::Test {
  protected:
    static DateTime Today() { return EncodeDateTime(2004, 12, 8, 9, 0); }

    void SetInteger(std::string_view name, std::int32_t value) {
        settings.SetInteger(kSettingsKeyPath, name, value);
    }
    void SetString(std::string_view name, std::string_view value) {
        settings.SetString(kSettingsKeyPath, name, value);
    }
    void AddTemplate(const std::string& path, std::string text) {
        files.AddFile(path, std::move(text));
    }

    // What a build does before it expands the page: settings, clock and the view's dates.
    void PrepareBuild(DateTime build_date) {
        context.values = ReadPageValues(settings);
        context.now = clock.Now();
        context.layout =
            LayoutView(context.values.view_kind, build_date, context.values.first_weekday);
    }

    std::string Expand(std::string_view text, const TagHandler& handler) {
        return ExpandTemplateText(text, handler);
    }

    MemoryFileSystem files;
    MemorySettingsStore settings;
    VirtualClock clock{Today()};
    PageContext context{
        .files = files,
        .settings = settings,
        .clock = clock,
        .templates = TestTemplates(),
        .window = {800, 600},
        .screen = {1024, 768},
        .day_text = [](DateTime day) { return "[text " + FormatDateTime("d.m.", day) + "]"; },
        .all_tasks = [] { return std::string("[all tasks]"); },
    };
};

}  // namespace planwarte::testing_support
