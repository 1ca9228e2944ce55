#include "adapters/speech/speech_components.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

#include "adapters/speech/espeak_engine.h"

namespace planwarte {

namespace {

// "*.ac*": ".ac" anywhere in the name, the stars matching anything, also nothing. Character
// files come from systems that ignore case, so "MERLIN.ACS" is one too.
bool MatchesCharacterPattern(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(".ac") != std::string::npos;
}

}  // namespace

SpeechComponentProbes::SpeechComponentProbes(SpeechComponentOptions options)
    : options_(std::move(options)) {}

bool SpeechComponentProbes::CharacterHostPresent() {
    return options_.character_host != nullptr;
}

bool SpeechComponentProbes::SpeechInterfacePresent() {
    return EspeakEngine::Instance().Start();
}

int SpeechComponentProbes::EngineCount() {
    return EspeakEngine::Instance().VoiceCount();
}

bool SpeechComponentProbes::CharactersPresent() {
    return options_.built_in_character || HoldsCharacterFiles(options_.characters_folder);
}

bool HoldsCharacterFiles(const std::string& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        // Files only, also through a link: a folder named like a character file, or a link
        // that leads nowhere, holds no character.
        std::error_code kind_error;
        if (entry->is_regular_file(kind_error) &&
            MatchesCharacterPattern(entry->path().filename().string())) {
            return true;
        }
    }
    return false;
}

}  // namespace planwarte
