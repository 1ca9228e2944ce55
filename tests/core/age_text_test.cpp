#include "core/page/age_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace planwarte {
namespace {

TEST(AgeTextTest, AgeReachedThisYearOrOnTheCurrentDate) {
    struct Case {
        const char* name;
        DateTime birth;
        DateTime today;
        AgeForm form;
        bool english;
        std::string expected;
    };
    const DateTime born = EncodeDate(1969, 6, 12);
    const std::vector<Case> cases = {
        {"number on the birthday", born, EncodeDate(2004, 6, 12), AgeForm::kNumberOnly, false,
         "35"},
        {"number before the birthday", born, EncodeDate(2004, 6, 11), AgeForm::kNumberOnly, false,
         "35"},
        {"full on the birthday", born, EncodeDateTime(2004, 6, 12, 0, 1), AgeForm::kFull, false,
         "Alter 35 Jahre"},
        {"full the day before", born, EncodeDate(2004, 6, 11), AgeForm::kFull, false,
         "Alter 34 Jahre"},
        {"full a month before", born, EncodeDate(2004, 5, 30), AgeForm::kFull, false,
         "Alter 34 Jahre"},
        {"english", born, EncodeDate(2004, 12, 8), AgeForm::kFull, true, "35 years old."},
        {"born this year", EncodeDate(2004, 3, 1), EncodeDate(2004, 12, 8), AgeForm::kNumberOnly,
         false, ""},
        {"first birthday still to come", EncodeDate(2003, 12, 24), EncodeDate(2004, 12, 8),
         AgeForm::kFull, false, ""},
        {"born in the future", EncodeDate(2010, 1, 1), EncodeDate(2004, 12, 8),
         AgeForm::kNumberOnly, false, ""},
        {"zero date", DateTime{}, EncodeDate(2004, 12, 8), AgeForm::kFull, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AgeText(c.birth, c.today, c.form, c.english), c.expected);
    }
}

}  // namespace
}  // namespace planwarte
