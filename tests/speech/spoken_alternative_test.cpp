#include "adapters/speech/spoken_alternative.h"

#include <gtest/gtest.h>

#include <set>

namespace planwarte {
namespace {

TEST(SpokenAlternativeTest, TheChosenAlternativeIsSpoken) {
    struct Case {
        std::string text;
        std::size_t choice;
        std::string spoken;
    };
    const std::vector<Case> cases = {
        {"Hallo", 0, "Hallo"},
        {"", 0, ""},
        {"Guten Morgen|Moin", 0, "Guten Morgen"},
        {"Guten Morgen|Moin", 1, "Moin"},
        {"a|b|c", 2, "c"},
        // An empty alternative is silence, at either end as in the middle.
        {"a||c", 1, ""},
        {"|b", 0, ""},
        {"a|", 1, ""},
        // A chooser out of range gets the last one.
        {"a|b", 7, "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " choice " + std::to_string(c.choice));
        EXPECT_EQ(SpokenAlternative(c.text, [&c](std::size_t) { return c.choice; }), c.spoken);
    }
}

TEST(SpokenAlternativeTest, TheChooserIsAskedOnlyWhenThereIsAChoice) {
    std::vector<std::size_t> asked;
    const auto chooser = [&asked](std::size_t count) {
        asked.push_back(count);
        return std::size_t{0};
    };
    SpokenAlternative("nur eine", chooser);
    SpokenAlternative("eins|zwei|drei", chooser);
    EXPECT_EQ(asked, std::vector<std::size_t>{3});
}

TEST(SpokenAlternativeTest, TheRandomChooserReachesEveryAlternative) {
    const AlternativeChooser chooser = RandomAlternativeChooser();
    std::set<std::string> spoken;
    for (int i = 0; i < 200; ++i) {
        spoken.insert(SpokenAlternative("a|b|c", chooser));
    }
    EXPECT_EQ(spoken, (std::set<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace planwarte
