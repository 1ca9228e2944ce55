#pragma once

#include <functional>
#include <memory>
#include <string>

#include "adapters/speech/audio_output.h"

namespace planwarte {

// The word that makes the speech go into nothing.
inline constexpr const char* kSilentSpeechOutput = "none";

// Where the speech goes, as the user chose it: empty for the sound device (or nothing on a
// machine without one), kSilentSpeechOutput for nothing, anything else names a WAV file that
// is written anew. Throws std::runtime_error when that file cannot be written.
std::unique_ptr<AudioOutput> ChooseAudioOutput(const std::string& choice,
                                               std::function<void(const std::string&)> trace);

}  // namespace planwarte
