#include "core/page/script_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace planwarte {
namespace {

TEST(ScriptTextTest, EscapesWhatCouldEndTheStringOrTheAttribute) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"entry IDs unchanged", "000000009A8B7C6D00000001,Default",
         "000000009A8B7C6D00000001,Default"},
        {"quotes", "a'b\"c", "a\\x27b\\x22c"},
        {"backslash", "C:\\x", "C:\\x5Cx"},
        {"markup", "</a><b>&", "\\x3C/a\\x3E\\x3Cb\\x3E\\x26"},
        {"control characters", "a\nb\r\t\x7F", "a\\x0Ab\\x0D\\x09\\x7F"},
        {"line separators",
         "a\xE2\x80\xA8"
         "b\xE2\x80\xA9",
         "a\\u2028b\\u2029"},
        {"other letters", "Grüße \xE2\x80\xA6", "Grüße \xE2\x80\xA6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EscapeScriptStringInAttribute(c.text), c.expected);
    }
}

}  // namespace
}  // namespace planwarte
