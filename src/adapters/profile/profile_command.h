#pragma once

#include <string>
#include <vector>

namespace planwarte {

// The program and arguments of a profile command for a file or folder, to be run without a
// shell: words are split at spaces and tabs, double quotes keep spaces in a word, "%f" in a
// word becomes the path (also inside quotes, never split), "%%" a single "%". Empty when the
// command names no program.
std::vector<std::string> CommandArguments(const std::string& command, const std::string& path);

}  // namespace planwarte
