#pragma once

#include <optional>
#include <string>
#include <vector>

// Starting the user's own programs (the calendar program, xdg-open) from a command line of the
// profile, without a shell: the words are split here and "%f" is replaced inside a word by
// the file, so a file name with blanks, quotes or ";" stays one argument and runs nothing.
namespace planwarte {

// The words of a command line: blanks separate them, single and double quotes group, a
// backslash takes the next character as it is. nullopt for an unclosed quote.
std::optional<std::vector<std::string>> SplitCommandLine(const std::string& command_line);

// The words with every "%f" replaced by file.
std::vector<std::string> WithFile(std::vector<std::string> words, const std::string& file);

// Starts the program in the background; it is not a child the caller has to wait for. Empty
// text when it started, else why not (no command, unclosed quote, program not found).
std::string StartDetached(const std::vector<std::string>& words);

}  // namespace planwarte
