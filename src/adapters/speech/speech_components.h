#pragma once

#include <string>

#include "core/assistant/component_checks.h"

namespace planwarte {

class SpeechService;

struct SpeechComponentOptions {
    // The composition's speech service, which hosts the character; null: there is none.
    const SpeechService* character_host = nullptr;
    // Where character files lie: "<program folder>/chars/".
    std::string characters_folder{};
    // The host loads a character of its own for an empty path and so needs no file. The
    // espeak-ng service does: its voice-only character is what the assistant loads when no
    // character file is set, and without a character window nothing else could be shown.
    bool built_in_character = false;
};

// The components of the assistant on Linux: the program's own speech service hosts the
// character, espeak-ng with its voice data is the speech interface, its voices are the
// engines, and the characters are the files of the characters folder or the host's own.
//
// espeak-ng exists once per process and the speech service speaks through it on a thread of
// its own; the probes go through the same EspeakEngine, whose calls are serialised, so they
// never race a text being spoken. (They run before the first start connects the service.)
class SpeechComponentProbes : public ComponentProbes {
  public:
    explicit SpeechComponentProbes(SpeechComponentOptions options);

    bool CharacterHostPresent() override;
    // Starts espeak-ng if it is not running yet: it starts only when its voice data is found.
    bool SpeechInterfacePresent() override;
    int EngineCount() override;
    bool CharactersPresent() override;

  private:
    SpeechComponentOptions options_;
};

// Whether the folder itself (not its sub-folders) holds a file whose name matches "*.ac*",
// in any case, as the character files ".acs", ".acf" and ".aca" do. False when the folder
// cannot be read.
bool HoldsCharacterFiles(const std::string& folder);

}  // namespace planwarte
