#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace planwarte {

// Key and value names of the settings store compare without regard to letter case, as the
// registry does. Only ASCII letters are folded: every name the program uses is ASCII.
std::string FoldCase(std::string_view name);
bool SameName(std::string_view a, std::string_view b);

// The parts of a key path such as "\Software\Tarvolen"; empty parts (a leading, doubled or
// trailing "\") are dropped, so "\A\\B\" names the same key as "A\B".
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace planwarte
