#pragma once

#include <ostream>
#include <string>

#include "core/assistant/speech_service.h"

namespace planwarte {

// Passes every request on to another speech service and writes what the user would see or
// hear of it (speaking, animations, showing, hiding) to a stream, one line per request in the
// order of the requests, each line flushed at once:
//   Show
//   Speak(Guten Morgen|Moin)
//   Play(Wave)
//   Hide
// The text is written as it was asked for, alternatives and all. Line breaks and backslashes in
// it are written as \n, \r and \\, so that every request stays on its line. A request is
// written before it is passed on, so a failing one is in the log too.
class LoggingSpeechService : public SpeechService {
  public:
    LoggingSpeechService(SpeechService& inner, std::ostream& log);

    bool Connect() override { return inner_.Connect(); }
    void Disconnect() override { inner_.Disconnect(); }
    int LoadCharacter(const std::string& file_path) override {
        return inner_.LoadCharacter(file_path);
    }
    void UnloadCharacter(int character_id) override { inner_.UnloadCharacter(character_id); }
    int RegisterSink(SpeechNotificationSink* sink) override { return inner_.RegisterSink(sink); }
    void UnregisterSink(int registration_id) override { inner_.UnregisterSink(registration_id); }
    int Show(int character_id) override;
    int Hide(int character_id) override;
    int Speak(int character_id, const std::string& text) override;
    int Play(int character_id, const std::string& animation) override;
    int Stop(int character_id, int request_id) override {
        return inner_.Stop(character_id, request_id);
    }
    void StopAll(int character_id) override { inner_.StopAll(character_id); }
    void SetLanguage(int character_id, int language_id) override {
        inner_.SetLanguage(character_id, language_id);
    }
    void SetVoice(int character_id, const std::string& mode_id) override {
        inner_.SetVoice(character_id, mode_id);
    }
    CharacterSize OriginalSize(int character_id) override {
        return inner_.OriginalSize(character_id);
    }
    void SetSize(int character_id, CharacterSize size) override {
        inner_.SetSize(character_id, size);
    }
    void SetPosition(int character_id, ScreenPoint position) override {
        inner_.SetPosition(character_id, position);
    }
    ScreenPoint Position(int character_id) override { return inner_.Position(character_id); }
    void ShowCharacterChooser(ScreenPoint position, bool use_default_position) override {
        inner_.ShowCharacterChooser(position, use_default_position);
    }
    void ShowSettingsPage(const std::string& page) override { inner_.ShowSettingsPage(page); }
    DesktopArea Desktop() const override { return inner_.Desktop(); }

  private:
    void WriteLine(const std::string& line);

    SpeechService& inner_;
    std::ostream& log_;
};

}  // namespace planwarte
