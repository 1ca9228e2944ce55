#include "core/common/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace planwarte {
namespace {

TEST(Utf8Test, WellFormedTextOnly) {
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"M\xC3\xBC"
         "ller",
         true},                       // ü
        {"\xE2\x82\xAC", true},       // €
        {"\xF0\x9F\x8E\x82", true},   // 🎂
        {"\xFC", false},              // Latin-1 ü
        {"\xC3", false},              // cut off at the end
        {"\xC0\xAF", false},          // overlong "/"
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"\x80", false},              // stray continuation byte
        {"", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << testing::PrintToString(c.bytes);
    }
}

TEST(Utf8Test, CodePointsTheFormCannotHoldBecomeTheReplacementCharacter) {
    std::string out;
    for (const char32_t code :
         {U'A', U'\u00FC', U'\u20AC', U'\U0001F382', char32_t{0xD800}, char32_t{0x110000}}) {
        AppendUtf8(out, code);
    }
    EXPECT_EQ(out, "A\xC3\xBC\xE2\x82\xAC\xF0\x9F\x8E\x82\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_TRUE(IsValidUtf8(out));
}

}  // namespace
}  // namespace planwarte
