#include "adapters/ical/compiled_filters.h"

#include <gtest/gtest.h>

#include "core/common/date_time.h"

namespace planwarte {
namespace {

TEST(CompiledFiltersTest, EachTextKeepsItsOwnReadingAndAFailureIsNotKept) {
    const std::string eighth = "[Start] >= '#08.12.2004#'";
    const std::string ninth = "[Start] >= '#09.12.2004#'";
    // Asked for in turn, as the days of a page are, and the first again as a rebuild does.
    for (const std::string& text : {eighth, ninth, eighth}) {
        const auto compiled = CompiledFilterOf(text);
        ASSERT_NE(compiled, nullptr);
        EXPECT_EQ(compiled->filter.FilterText(), text);
        ASSERT_TRUE(compiled->range.latest.has_value()) << text;
        EXPECT_EQ(*compiled->range.latest,
                  text == eighth ? EncodeDate(2004, 12, 8) : EncodeDate(2004, 12, 9));
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_THROW(CompiledFilterOf("[Start] >="), ItemFilterError) << attempt;
    }
}

}  // namespace
}  // namespace planwarte
