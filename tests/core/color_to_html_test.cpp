#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

TEST(ColorToHtmlTest, StoredAndSystemColours) {
    struct Case {
        const char* name;
        std::uint32_t color;
        std::string html;
    };
    const std::vector<Case> cases = {
        {"low byte is red", 0x000008, "#080000"},
        {"red", 0x0000FF, "#FF0000"},
        {"green", 0x00FF00, "#00FF00"},
        {"blue", 0xFF0000, "#0000FF"},
        {"all three bytes swap", 0x123456, "#563412"},
        {"lower-case input, upper-case output", 0xABCDEF, "#EFCDAB"},
        {"black", 0, "#000000"},
        {"white", 0xFFFFFF, "#FFFFFF"},
        {"grey of OBJECTCOLOR", 8421504, "#808080"},
        {"a stray high byte does not shift the digits", 0x01FF0000, "#0000FF"},
        {"system: button face", 0x8000000F, "#F0F0F0"},
        {"system: first index, scroll bar", 0x80000000, "#C8C8C8"},
        {"system: active caption keeps its byte order", 0x80000002, "#99B4D1"},
        {"system: highlight", 0x8000000D, "#3399FF"},
        {"system: tooltip background", 0x80000018, "#FFFFE1"},
        {"system: last index, menu bar", 0x8000001E, "#F0F0F0"},
        {"system: unknown index is black", 0x8000001F, "#000000"},
        {"system: far beyond the table", 0xFFFFFFFF, "#000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ColorToHtml(static_cast<std::int32_t>(c.color)), c.html);
    }
}

}  // namespace
}  // namespace planwarte
