#pragma once

#include <string>

#include "core/common/date_time.h"

namespace planwarte {

enum class AgeForm {
    kNumberOnly,  // the age reached in the current year, as a bare number
    kFull,        // the age on the current date, as "Alter 35 Jahre" or "35 years old."
};

// The age of someone born on `birth` as of `today`. Empty for the zero date, for a birth in
// the future and for an age of 0.
std::string AgeText(DateTime birth, DateTime today, AgeForm form, bool english_edition);

}  // namespace planwarte
