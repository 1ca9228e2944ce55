#pragma once

#include <string>

// The label an item's colour (RFC 7986 COLOR: a CSS3 colour name, or "#rrggbb" as some
// clients write it) comes nearest to among the ten appointment label colours.
namespace planwarte {

// 1..10, or 0 when the text names no colour.
int LabelIndexForColour(const std::string& colour);

}  // namespace planwarte
