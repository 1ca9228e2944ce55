#include "adapters/profile/profile_command.h"

namespace planwarte {

std::vector<std::string> CommandArguments(const std::string& command, const std::string& path) {
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    bool quoted = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (c == '"') {
            quoted = !quoted;
            in_word = true;  // "" is an empty word
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (in_word) {
                words.push_back(word);
            }
            word.clear();
            in_word = false;
        } else if (c == '%' && i + 1 < command.size() &&
                   (command[i + 1] == 'f' || command[i + 1] == '%')) {
            word += command[i + 1] == 'f' ? path : "%";
            in_word = true;
            ++i;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (in_word) {
        words.push_back(word);
    }
    return words;
}

}  // namespace planwarte
