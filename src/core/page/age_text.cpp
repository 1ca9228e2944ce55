#include "core/page/age_text.h"

namespace planwarte {

std::string AgeText(DateTime birth, DateTime today, AgeForm form, bool english_edition) {
    const CalendarDate born = DecodeDate(birth);
    const CalendarDate now = DecodeDate(today);
    int age = now.year - born.year;
    if (form == AgeForm::kFull &&
        (now.month < born.month || (now.month == born.month && now.day < born.day))) {
        --age;
    }
    // The zero date stands for "no date": no age rather than one of about a century.
    if (born == CalendarDate{} || age <= 0) {
        return {};
    }
    std::string number = std::to_string(age);
    if (form == AgeForm::kNumberOnly) {
        return number;
    }
    return english_edition ? number + " years old." : "Alter " + number + " Jahre";
}

}  // namespace planwarte
