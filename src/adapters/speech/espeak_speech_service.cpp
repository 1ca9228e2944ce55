#include "adapters/speech/espeak_speech_service.h"

#include <algorithm>
#include <utility>

namespace planwarte {

namespace {

constexpr const char* kGermanVoice = "de";
constexpr const char* kEnglishVoice = "en";

std::string Unbraced(const std::string& mode_id) {
    if (mode_id.size() >= 2 && mode_id.front() == '{' && mode_id.back() == '}') {
        return mode_id.substr(1, mode_id.size() - 2);
    }
    return mode_id;
}

}  // namespace

EspeakSpeechService::EspeakSpeechService(Options options)
    : output_(options.output ? std::move(options.output) : std::make_unique<SilentOutput>()),
      desktop_(options.desktop),
      choose_alternative_(std::move(options.choose_alternative)),
      trace_(std::move(options.trace)) {}

EspeakSpeechService::~EspeakSpeechService() {
    Disconnect();
}

bool EspeakSpeechService::Connect() {
    std::lock_guard lock(mutex_);
    if (connected_) {
        return true;
    }
    EspeakEngine& engine = EspeakEngine::Instance();
    if (!engine.Start()) {
        trace_("espeak-ng kann nicht starten (Sprachdaten fehlen?)");
        return false;
    }
    variants_ = engine.Variants();
    sample_rate_ = engine.SampleRate();
    connected_ = true;
    quitting_ = false;
    idle_ = true;
    worker_ = std::thread([this] { Work(); });
    return true;
}

void EspeakSpeechService::Disconnect() {
    {
        std::lock_guard lock(mutex_);
        if (!connected_) {
            return;
        }
        connected_ = false;
        quitting_ = true;
        queue_.clear();
        cancel_running_ = true;
        characters_.clear();
    }
    work_.notify_all();
    worker_.join();
    std::lock_guard lock(sinks_mutex_);
    sinks_.clear();
}

void EspeakSpeechService::RequireConnected() const {
    if (!connected_) {
        throw SpeechError("espeak-ng: not connected");
    }
}

EspeakSpeechService::Character& EspeakSpeechService::RequireCharacter(int character_id) {
    RequireConnected();
    const auto found = characters_.find(character_id);
    if (found == characters_.end()) {
        throw SpeechError("espeak-ng: no character with the identifier " +
                          std::to_string(character_id));
    }
    return found->second;
}

int EspeakSpeechService::LoadCharacter(const std::string& /*file_path*/) {
    // Every character file gives the same speaker until characters have a look of their own.
    std::lock_guard lock(mutex_);
    RequireConnected();
    const int id = next_character_id_++;
    characters_[id] = Character{};
    return id;
}

void EspeakSpeechService::UnloadCharacter(int character_id) {
    {
        std::lock_guard lock(mutex_);
        RequireCharacter(character_id);
        std::erase_if(queue_, [character_id](const Request& request) {
            return request.character_id == character_id;
        });
        CancelRunning(character_id, 0);
        characters_.erase(character_id);
    }
    work_.notify_all();
}

int EspeakSpeechService::RegisterSink(SpeechNotificationSink* sink) {
    {
        std::lock_guard lock(mutex_);
        RequireConnected();
    }
    if (!sink) {
        throw SpeechError("espeak-ng: no sink to register");
    }
    std::lock_guard lock(sinks_mutex_);
    const int id = next_registration_id_++;
    sinks_[id] = sink;
    return id;
}

void EspeakSpeechService::UnregisterSink(int registration_id) {
    std::lock_guard lock(sinks_mutex_);
    if (sinks_.erase(registration_id) == 0) {
        throw SpeechError("espeak-ng: no sink registered as " + std::to_string(registration_id));
    }
}

int EspeakSpeechService::Queue(int character_id, RequestKind kind, std::string text) {
    int id = 0;
    {
        std::lock_guard lock(mutex_);
        const Character& character = RequireCharacter(character_id);
        id = next_request_id_++;
        std::string voice = character.language;
        if (!character.variant.empty()) {
            voice += "+" + character.variant;
        }
        queue_.push_back({.id = id,
                          .character_id = character_id,
                          .kind = kind,
                          .text = std::move(text),
                          .voice = std::move(voice)});
    }
    work_.notify_all();
    return id;
}

int EspeakSpeechService::Show(int character_id) {
    return Queue(character_id, RequestKind::Show);
}

int EspeakSpeechService::Hide(int character_id) {
    return Queue(character_id, RequestKind::Hide);
}

int EspeakSpeechService::Speak(int character_id, const std::string& text) {
    return Queue(character_id, RequestKind::Speak, SpokenAlternative(text, choose_alternative_));
}

int EspeakSpeechService::Play(int character_id, const std::string& animation) {
    return Queue(character_id, RequestKind::Play, animation);
}

void EspeakSpeechService::CancelRunning(int character_id, int request_id) {
    if (running_request_ != 0 && running_character_ == character_id &&
        (request_id == 0 || running_request_ == request_id)) {
        cancel_running_ = true;
    }
}

int EspeakSpeechService::Stop(int character_id, int request_id) {
    std::lock_guard lock(mutex_);
    RequireCharacter(character_id);
    std::erase_if(queue_, [character_id, request_id](const Request& request) {
        return request.character_id == character_id && request.id == request_id;
    });
    if (request_id != 0) {
        CancelRunning(character_id, request_id);
    }
    work_.notify_all();
    // The stop is a request of its own, done as soon as it is made.
    return next_request_id_++;
}

void EspeakSpeechService::StopAll(int character_id) {
    std::lock_guard lock(mutex_);
    RequireCharacter(character_id);
    std::erase_if(queue_, [character_id](const Request& request) {
        return request.character_id == character_id;
    });
    CancelRunning(character_id, 0);
    // With nothing left, the worker reports the pause.
    work_.notify_all();
}

void EspeakSpeechService::SetLanguage(int character_id, int language_id) {
    std::lock_guard lock(mutex_);
    Character& character = RequireCharacter(character_id);
    if (language_id == kSpeechLanguageGerman) {
        character.language = kGermanVoice;
    } else if (language_id == kSpeechLanguageEnglish) {
        character.language = kEnglishVoice;
    } else {
        throw SpeechError("espeak-ng: no voice for the language " + std::to_string(language_id));
    }
}

void EspeakSpeechService::SetVoice(int character_id, const std::string& mode_id) {
    std::lock_guard lock(mutex_);
    Character& character = RequireCharacter(character_id);
    const std::string variant = Unbraced(mode_id);
    const bool known = std::ranges::any_of(
        variants_, [&variant](const VoiceVariant& offered) { return offered.id == variant; });
    if (!known) {
        throw SpeechError("espeak-ng: no voice mode " + mode_id);
    }
    character.variant = variant;
}

CharacterSize EspeakSpeechService::OriginalSize(int character_id) {
    std::lock_guard lock(mutex_);
    RequireCharacter(character_id);
    return kCharacterSize;
}

void EspeakSpeechService::SetSize(int character_id, CharacterSize size) {
    std::lock_guard lock(mutex_);
    RequireCharacter(character_id).size = size;
}

void EspeakSpeechService::SetPosition(int character_id, ScreenPoint position) {
    std::lock_guard lock(mutex_);
    RequireCharacter(character_id).position = position;
}

ScreenPoint EspeakSpeechService::Position(int character_id) {
    std::lock_guard lock(mutex_);
    return RequireCharacter(character_id).position;
}

void EspeakSpeechService::ShowCharacterChooser(ScreenPoint /*position*/,
                                               bool /*use_default_position*/) {
    throw SpeechError("espeak-ng: there is no character chooser");
}

void EspeakSpeechService::ShowSettingsPage(const std::string& page) {
    throw SpeechError("espeak-ng: there is no settings window for " + page);
}

std::vector<VoiceVariant> EspeakSpeechService::VoiceModes() const {
    std::lock_guard lock(mutex_);
    return variants_;
}

void EspeakSpeechService::Work() {
    for (;;) {
        Request request;
        bool was_idle = false;
        {
            std::unique_lock lock(mutex_);
            work_.wait(lock, [this] { return quitting_ || !queue_.empty() || !idle_; });
            if (quitting_) {
                return;
            }
            if (queue_.empty()) {
                // Everything asked is done, or what was left has been stopped: a pause.
                idle_ = true;
                const int character_id = last_character_;
                lock.unlock();
                ReportIdle(character_id, true);
                continue;
            }
            request = std::move(queue_.front());
            queue_.pop_front();
            running_request_ = request.id;
            running_character_ = request.character_id;
            cancel_running_ = false;
            // Showing and hiding are no activity of the character: a hidden character that
            // reported a pause around its hiding would never be unloaded for being idle.
            if (request.kind == RequestKind::Speak || request.kind == RequestKind::Play) {
                was_idle = std::exchange(idle_, false);
            }
        }
        if (was_idle) {
            ReportIdle(request.character_id, false);
        }
        CarryOut(request);
        std::lock_guard lock(mutex_);
        running_request_ = 0;
        running_character_ = 0;
        last_character_ = request.character_id;
    }
}

void EspeakSpeechService::CarryOut(const Request& request) {
    switch (request.kind) {
        case RequestKind::Show:
            ReportVisible(request.character_id, true);
            break;
        case RequestKind::Hide:
            ReportVisible(request.character_id, false);
            break;
        case RequestKind::Speak:
            SpeakRequest(request);
            break;
        case RequestKind::Play:
            // No character window yet: an animation ends as soon as it starts.
            break;
    }
}

void EspeakSpeechService::SpeakRequest(const Request& request) {
    if (request.text.empty()) {
        return;
    }
    const EspeakEngine::SampleSink sink = [this](const std::int16_t* samples, std::size_t count) {
        if (cancel_running_) {
            return false;
        }
        output_->Write(samples, count, sample_rate_);
        return !cancel_running_;
    };
    const bool spoken = EspeakEngine::Instance().Synthesize(request.voice, request.text, sink);
    if (cancel_running_) {
        output_->Discard();
        return;
    }
    if (!spoken) {
        trace_("espeak-ng kann nicht sprechen: " + request.text);
    }
    output_->Finish();
}

void EspeakSpeechService::ReportIdle(int character_id, bool started) {
    std::lock_guard lock(sinks_mutex_);
    for (const auto& [id, sink] : sinks_) {
        sink->Idle(character_id, started);
    }
}

void EspeakSpeechService::ReportVisible(int character_id, bool visible) {
    std::lock_guard lock(sinks_mutex_);
    for (const auto& [id, sink] : sinks_) {
        sink->VisibleState(character_id, visible);
    }
}

}  // namespace planwarte
