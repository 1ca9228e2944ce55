#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace planwarte {

// One of the engine's voice variants: the timbre put over a language's voice.
struct VoiceVariant {
    std::string id;    // the variant's file name, "f3"
    std::string name;  // what the engine calls it, "female3"
    friend bool operator==(const VoiceVariant&, const VoiceVariant&) = default;
};

// The espeak-ng library, which exists once per process: started on first use and ended with
// the process. Every call is serialised, so several speakers may share it; each waits for the
// text before its own.
class EspeakEngine {
  public:
    // Receives the samples of a text as they are made; false stops the text.
    using SampleSink = std::function<bool(const std::int16_t* samples, std::size_t count)>;

    static EspeakEngine& Instance();

    // Starts the library in its retrieval mode (samples come back to the caller, the library
    // opens no sound device). False when it cannot start, e.g. without its voice data.
    bool Start();
    int SampleRate();
    // The number of the library's voices (languages, without the variants); 0 when not
    // started.
    int VoiceCount();
    std::vector<VoiceVariant> Variants();
    // Speaks the UTF-8 text with the voice ("de", "en+f3") into the sink. False when the
    // voice or the text is refused.
    bool Synthesize(const std::string& voice, const std::string& text, const SampleSink& sink);

    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

  private:
    EspeakEngine() = default;
    ~EspeakEngine();

    std::mutex mutex_;
    bool started_ = false;
    int sample_rate_ = 0;
    std::string current_voice_;
};

}  // namespace planwarte
