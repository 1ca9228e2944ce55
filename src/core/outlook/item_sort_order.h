#pragma once

#include <compare>
#include <optional>
#include <string>

#include "core/outlook/object_model.h"

namespace planwarte {

// The order Sort puts items in by one property, shared by every calendar source: values of
// one kind compare by value (texts without regard to case), a missing value comes first,
// values of different kinds by kind.
// A property name as the object model compares it, for Sort and for the filters' accessors:
// brackets stripped, letter case ignored.
std::string PropertyKey(const std::string& written);

std::partial_ordering CompareSortValues(const std::optional<Variant>& a,
                                        const std::optional<Variant>& b);

}  // namespace planwarte
