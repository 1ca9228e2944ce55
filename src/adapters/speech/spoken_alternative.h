#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace planwarte {

// Picks one of count alternatives, 0 .. count - 1.
using AlternativeChooser = std::function<std::size_t(std::size_t count)>;

// The text to speak of a text whose alternatives are separated by '|': the one the chooser
// picks. A text without '|' is its own only alternative; an empty alternative is silence.
std::string SpokenAlternative(const std::string& text, const AlternativeChooser& choose);

// A chooser that picks at random, seeded anew for each program run.
AlternativeChooser RandomAlternativeChooser();

}  // namespace planwarte
