#include "core/page/page_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace planwarte {
namespace {

TEST(DefaultWindowSize, MonthAndNormalViewsOnAScreen) {
    struct Case {
        int view_kind;
        PixelSize screen;
        PixelSize expected;
    };
    const std::vector<Case> cases = {
        {0, {1024, 768}, {874, 728}}, {1, {1024, 768}, {492, 728}}, {5, {1024, 768}, {492, 728}},
        {9, {1024, 768}, {492, 728}},  // every kind but 0 uses the normal size
        {1, {1025, 769}, {492, 729}},  // halves are rounded down
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view_kind);
        const PixelSize size = DefaultWindowSize(c.view_kind, c.screen);
        EXPECT_EQ(size.width, c.expected.width);
        EXPECT_EQ(size.height, c.expected.height);
    }
}

}  // namespace
}  // namespace planwarte
