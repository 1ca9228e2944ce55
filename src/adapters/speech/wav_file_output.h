#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "adapters/speech/audio_output.h"

namespace planwarte {

// Writes the speech into a WAV file (16-bit mono PCM), one text after the other. The header is
// brought up to date after each text, so the file can be played while the program runs and
// after it has been ended.
class WavFileOutput : public AudioOutput {
  public:
    // Replaces the file. Throws std::runtime_error when it cannot be written.
    explicit WavFileOutput(const std::string& path);

    void Write(const std::int16_t* samples, std::size_t count, int sample_rate) override;
    void Finish() override;
    // What was made of a stopped text stays in the file: a file cannot take back what a
    // listener would already have heard.
    void Discard() override { Finish(); }

  private:
    void WriteHeader();

    std::string path_;
    std::ofstream file_;
    int sample_rate_ = 0;
    std::uint32_t data_bytes_ = 0;
};

}  // namespace planwarte
