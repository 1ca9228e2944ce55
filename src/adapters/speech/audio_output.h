#pragma once

#include <cstddef>
#include <cstdint>

namespace planwarte {

// Where spoken samples go: 16-bit mono at the engine's sample rate. Used by one thread at a
// time, the speaking one.
class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // May block as long as a device takes to play them.
    virtual void Write(const std::int16_t* samples, std::size_t count, int sample_rate) = 0;
    // The end of one spoken text: returns when it has been played.
    virtual void Finish() = 0;
    // The spoken text was stopped: what has not been played yet is dropped.
    virtual void Discard() = 0;
};

// Speaks into nothing, for a program that is not to be heard.
class SilentOutput : public AudioOutput {
  public:
    void Write(const std::int16_t*, std::size_t, int) override {}
    void Finish() override {}
    void Discard() override {}
};

}  // namespace planwarte
