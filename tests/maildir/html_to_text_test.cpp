#include "adapters/maildir/html_to_text.h"

#include <gtest/gtest.h>

namespace planwarte {
namespace {

struct HtmlCase {
    const char* html;
    const char* text;
};

TEST(TextOfHtml, KeepsTheReadableText) {
    const HtmlCase cases[] = {
        {"<b>fett</b> und <i>schräg</i>", "fett und schräg"},
        {"Zeile<br>Zeile<br/>Zeile", "Zeile\nZeile\nZeile"},
        {"a  \n\t b", "a b"},
        {"<!-- <p>nicht</p> -->sichtbar", "sichtbar"},
        {"<script>var x = '<p>';</script><SCRIPT>y()</SCRIPT>Text", "Text"},
        {"&lt;tag&gt; &quot;x&quot; &#252; &#xFC; &euro;", "<tag> \"x\" ü ü €"},
        {"AT&T &unknown; &#;", "AT&T &unknown; &#;"},
        {"&#1114112; &#xD800;", "\xEF\xBF\xBD \xEF\xBF\xBD"},
        {"Rest <a href=", "Rest"},
    };
    for (const HtmlCase& c : cases) {
        EXPECT_EQ(TextOfHtml(c.html), c.text) << c.html;
    }
}

}  // namespace
}  // namespace planwarte
