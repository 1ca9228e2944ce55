#pragma once

#include <string>
#include <vector>

// Starting the user's own programs (the calendar program, xdg-open) without a shell: the words
// are handed to the program as they are, so a file name with blanks, quotes or ";" stays one
// argument and runs nothing.
namespace planwarte {

// Starts the program in the background; it is not a child the caller has to wait for. Empty
// text when it started, else why not (no command, unclosed quote, program not found).
std::string StartDetached(const std::vector<std::string>& words);

}  // namespace planwarte
