#include "adapters/speech/audio_output_choice.h"

#include <utility>

#include "adapters/speech/sound_device_output.h"
#include "adapters/speech/wav_file_output.h"

namespace planwarte {

std::unique_ptr<AudioOutput> ChooseAudioOutput(const std::string& choice,
                                               std::function<void(const std::string&)> trace) {
    if (choice.empty()) {
        return std::make_unique<SoundDeviceOutput>(std::move(trace));
    }
    if (choice == kSilentSpeechOutput) {
        return std::make_unique<SilentOutput>();
    }
    return std::make_unique<WavFileOutput>(choice);
}

}  // namespace planwarte
