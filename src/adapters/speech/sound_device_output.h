#pragma once

#include <functional>
#include <string>

#include "adapters/speech/audio_output.h"

struct audio_object;

namespace planwarte {

// Plays the samples through the default sound device (PulseAudio, ALSA, whatever the sound
// library finds). A machine without one is no error: the device is looked for at the first
// text, its absence is traced once, and the speech goes into nothing from then on.
class SoundDeviceOutput : public AudioOutput {
  public:
    explicit SoundDeviceOutput(std::function<void(const std::string&)> trace);
    ~SoundDeviceOutput() override;

    SoundDeviceOutput(const SoundDeviceOutput&) = delete;
    SoundDeviceOutput& operator=(const SoundDeviceOutput&) = delete;

    void Write(const std::int16_t* samples, std::size_t count, int sample_rate) override;
    void Finish() override;
    void Discard() override;

  private:
    // False when there is no device to play on.
    bool Open(int sample_rate);
    void GiveUp(const std::string& why);

    std::function<void(const std::string&)> trace_;
    audio_object* device_ = nullptr;
    int open_rate_ = 0;
    bool unavailable_ = false;
};

}  // namespace planwarte
