#include "adapters/speech/espeak_engine.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <cstring>

namespace planwarte {

namespace {

// Milliseconds of speech the library hands back at a time: short, so that a stop is quick.
constexpr int kSampleBufferMs = 100;

// The sink of the text being made. The library has one callback for the whole process; it is
// set only while the engine's mutex is held.
const EspeakEngine::SampleSink* current_sink = nullptr;

int OnSamples(short* samples, int count, espeak_EVENT* /*events*/) {
    if (samples == nullptr || count <= 0 || current_sink == nullptr) {
        return 0;
    }
    // A non-zero answer makes the library stop the text.
    return (*current_sink)(samples, static_cast<std::size_t>(count)) ? 0 : 1;
}

}  // namespace

EspeakEngine& EspeakEngine::Instance() {
    static EspeakEngine engine;
    return engine;
}

EspeakEngine::~EspeakEngine() {
    if (started_) {
        espeak_ng_Terminate();
    }
}

bool EspeakEngine::Start() {
    std::lock_guard lock(mutex_);
    if (started_) {
        return true;
    }
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    if (status != ENS_OK) {
        return false;
    }
    if (espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, kSampleBufferMs, nullptr) != ENS_OK) {
        espeak_ng_Terminate();
        return false;
    }
    espeak_SetSynthCallback(&OnSamples);
    sample_rate_ = espeak_ng_GetSampleRate();
    current_voice_.clear();
    started_ = true;
    return true;
}

int EspeakEngine::SampleRate() {
    std::lock_guard lock(mutex_);
    return sample_rate_;
}

int EspeakEngine::VoiceCount() {
    std::lock_guard lock(mutex_);
    int count = 0;
    if (!started_) {
        return count;
    }
    for (const espeak_VOICE** voice = espeak_ListVoices(nullptr); voice && *voice; ++voice) {
        ++count;
    }
    return count;
}

std::vector<VoiceVariant> EspeakEngine::Variants() {
    std::lock_guard lock(mutex_);
    std::vector<VoiceVariant> variants;
    if (!started_) {
        return variants;
    }
    espeak_VOICE selector{};
    selector.languages = "variant";
    constexpr const char* kVariantFolder = "!v/";
    for (const espeak_VOICE** voice = espeak_ListVoices(&selector); voice && *voice; ++voice) {
        const char* identifier = (*voice)->identifier;
        if (identifier && std::strncmp(identifier, kVariantFolder, 3) == 0 && (*voice)->name) {
            variants.push_back({identifier + 3, (*voice)->name});
        }
    }
    return variants;
}

bool EspeakEngine::Synthesize(const std::string& voice, const std::string& text,
                              const SampleSink& sink) {
    std::lock_guard lock(mutex_);
    if (!started_) {
        return false;
    }
    if (voice != current_voice_) {
        if (espeak_ng_SetVoiceByName(voice.c_str()) != ENS_OK) {
            current_voice_.clear();
            return false;
        }
        current_voice_ = voice;
    }
    current_sink = &sink;
    const espeak_ng_STATUS status =
        espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                             espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, nullptr);
    current_sink = nullptr;
    return status == ENS_OK;
}

}  // namespace planwarte
