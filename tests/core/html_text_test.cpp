#include "core/page/html_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace planwarte {
namespace {

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

TEST(EscapeHtml, MarkupCharactersBecomeReferences) {
    const std::vector<TextCase> cases = {
        {"plain face", "Comic Sans Ms", "Comic Sans Ms"},
        {"empty", "", ""},
        {"attribute breakout", "x\" onload=\"y", "x&quot; onload=&quot;y"},
        {"single quotes", "it's", "it&#39;s"},
        {"element", "<script>a&b</script>", "&lt;script&gt;a&amp;b&lt;/script&gt;"},
        {"umlauts stay", "Schrift für Büro", "Schrift für Büro"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EscapeHtml(c.input), c.expected);
    }
}

TEST(FileUrl, AbsolutePathsBecomeAddressesThatLoad) {
    const std::vector<TextCase> cases = {
        {"plain folder", "/opt/planwarte/vorlagen/back.gif",
         "file:///opt/planwarte/vorlagen/back.gif"},
        {"blank", "/home/a b/x.gif", "file:///home/a%20b/x.gif"},
        {"characters with a meaning in addresses", "/p/#1?%/x.gif", "file:///p/%231%3F%25/x.gif"},
        {"quotes and markup", "/p/\"'<>&/x.gif", "file:///p/%22%27%3C%3E%26/x.gif"},
        {"non-ASCII bytes", "/home/jürgen/x.gif", "file:///home/j%C3%BCrgen/x.gif"},
        {"unreserved characters stay", "/a-b_c.d~e/", "file:///a-b_c.d~e/"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileUrl(c.input), c.expected);
    }
}

}  // namespace
}  // namespace planwarte
