#include "adapters/speech/spoken_alternative.h"

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace planwarte {

std::string SpokenAlternative(const std::string& text, const AlternativeChooser& choose) {
    std::vector<std::string> alternatives;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find('|', start);
        if (bar == std::string::npos) {
            alternatives.push_back(text.substr(start));
            break;
        }
        alternatives.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    if (alternatives.size() == 1) {
        return alternatives.front();
    }
    // A chooser answering out of range gets the last one rather than undefined behaviour.
    return alternatives[std::min(choose(alternatives.size()), alternatives.size() - 1)];
}

AlternativeChooser RandomAlternativeChooser() {
    auto generator = std::make_shared<std::mt19937>(std::random_device{}());
    return [generator](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(*generator);
    };
}

}  // namespace planwarte
