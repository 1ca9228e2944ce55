#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "adapters/speech/audio_output.h"
#include "adapters/speech/espeak_engine.h"
#include "adapters/speech/spoken_alternative.h"
#include "core/assistant/speech_service.h"

namespace planwarte {

// The speaking character as espeak-ng speech. Its requests are carried out one after another
// on a thread of its own, so the caller never waits for speech; the reports go to the
// registered sinks from that thread. Of a text's '|' alternatives one is chosen at random
// for each request.
//
// A character speaks German unless its language is set to English. Its voice modes are the
// engine's voice variants (female3, klatt, ...), chosen by the variant's file name in braces,
// "{f3}"; without one it speaks with the language's own voice. The character has no window
// yet: showing, hiding, animations, size and position are carried out without anything to
// see (show and hide are still reported, in their turn). The character's pauses are those
// of its speaking and animations: it reports idle ended when it begins one after a pause, and
// idle started when it has done everything asked of it.
class EspeakSpeechService : public SpeechService {
  public:
    // The size of a character, as a character window would have it.
    static constexpr CharacterSize kCharacterSize{128, 128};

    struct Options {
        // Where the speech is heard (or stored); null: into nothing.
        std::unique_ptr<AudioOutput> output;
        // The screen a character stands on.
        DesktopArea desktop;
        AlternativeChooser choose_alternative = RandomAlternativeChooser();
        std::function<void(const std::string&)> trace = [](const std::string&) {};
    };

    explicit EspeakSpeechService(Options options);
    // Ends the speech at once, as Disconnect does.
    ~EspeakSpeechService() override;

    EspeakSpeechService(const EspeakSpeechService&) = delete;
    EspeakSpeechService& operator=(const EspeakSpeechService&) = delete;

    // False when the engine cannot start (no voice data).
    bool Connect() override;
    void Disconnect() override;
    int LoadCharacter(const std::string& file_path) override;
    void UnloadCharacter(int character_id) override;
    int RegisterSink(SpeechNotificationSink* sink) override;
    void UnregisterSink(int registration_id) override;
    int Show(int character_id) override;
    int Hide(int character_id) override;
    int Speak(int character_id, const std::string& text) override;
    int Play(int character_id, const std::string& animation) override;
    int Stop(int character_id, int request_id) override;
    void StopAll(int character_id) override;
    void SetLanguage(int character_id, int language_id) override;
    void SetVoice(int character_id, const std::string& mode_id) override;
    CharacterSize OriginalSize(int character_id) override;
    void SetSize(int character_id, CharacterSize size) override;
    void SetPosition(int character_id, ScreenPoint position) override;
    ScreenPoint Position(int character_id) override;
    // There is no chooser dialog and no settings window: both throw SpeechError.
    void ShowCharacterChooser(ScreenPoint position, bool use_default_position) override;
    void ShowSettingsPage(const std::string& page) override;
    DesktopArea Desktop() const override { return desktop_; }

    // The voice modes a character can be given, once connected.
    std::vector<VoiceVariant> VoiceModes() const;

  private:
    enum class RequestKind { Show, Hide, Speak, Play };
    struct Request {
        int id = 0;
        int character_id = 0;
        RequestKind kind = RequestKind::Play;
        std::string text;   // the alternative chosen, for Speak
        std::string voice;  // the engine's voice at the time of the request, for Speak
    };
    struct Character {
        std::string language = "de";
        std::string variant;  // empty: the language's own voice
        CharacterSize size = kCharacterSize;
        ScreenPoint position;
    };

    // With mutex_ held.
    Character& RequireCharacter(int character_id);
    void RequireConnected() const;
    int Queue(int character_id, RequestKind kind, std::string text = {});
    // Cancels the running request when its character and identifier match (0: any).
    void CancelRunning(int character_id, int request_id);

    void Work();
    void CarryOut(const Request& request);
    void SpeakRequest(const Request& request);
    void ReportIdle(int character_id, bool started);
    void ReportVisible(int character_id, bool visible);

    std::unique_ptr<AudioOutput> output_;
    const DesktopArea desktop_;
    const AlternativeChooser choose_alternative_;
    const std::function<void(const std::string&)> trace_;

    mutable std::mutex mutex_;
    std::condition_variable work_;
    bool connected_ = false;
    bool quitting_ = false;
    std::vector<VoiceVariant> variants_;
    int sample_rate_ = 0;
    std::map<int, Character> characters_;
    std::deque<Request> queue_;
    int next_character_id_ = 1;
    int next_request_id_ = 1;
    int running_request_ = 0;
    int running_character_ = 0;
    // The character of the request done last, whose pause follows it.
    int last_character_ = 0;
    std::atomic<bool> cancel_running_ = false;
    // True from the end of the last speech or animation, when nothing else was asked, until
    // the next one begins (and before the first).
    bool idle_ = true;
    std::thread worker_;

    // Held while a report is delivered, so that a sink is never called once unregistered.
    std::mutex sinks_mutex_;
    std::map<int, SpeechNotificationSink*> sinks_;
    int next_registration_id_ = 1;
};

}  // namespace planwarte
