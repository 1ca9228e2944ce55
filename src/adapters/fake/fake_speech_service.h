#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/assistant/speech_service.h"

// A speech service for tests: it records every request in order and speaks nothing. A test
// makes requests fail and delivers the service's reports to the registered sink.
//
//   FakeSpeechService speech;
//   speech.Fail("SetLanguage");            // every SetLanguage throws SpeechError
//   ... the program speaks ...
//   EXPECT_EQ(speech.Log(), (std::vector<std::string>{"Connect", "LoadCharacter()", ...}));
//   speech.NotifyIdle(true);               // the character has said everything
//
// Log lines are the operation's name with its arguments: "Speak(Hallo)", "Play(Wave)",
// "SetPosition(886,500)", "SetSize(85,85)", "SetVoice({ABC})", "SetLanguage(7)", "Show",
// "Hide", "StopAll", "Stop(3)", "LoadCharacter(/path)", "UnloadCharacter", "RegisterSink",
// "UnregisterSink", "ShowCharacterChooser(0,0,default)", "ShowSettingsPage(Output)",
// "Connect", "Disconnect". A failing request is logged too.
namespace planwarte {

class FakeSpeechService : public SpeechService {
  public:
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
    void ShowCharacterChooser(ScreenPoint position, bool use_default_position) override;
    void ShowSettingsPage(const std::string& page) override;
    DesktopArea Desktop() const override { return desktop; }

    // Every request so far, in order.
    const std::vector<std::string>& Log() const { return log_; }
    // Only the requests the user would see or hear: Show, Hide, Speak and Play.
    std::vector<std::string> Performance() const;
    void ClearLog() { log_.clear(); }

    // Every call of the operation (named as in the log, without arguments) throws SpeechError
    // until StopFailing.
    void Fail(const std::string& operation) { failing_.insert(operation); }
    void StopFailing(const std::string& operation) { failing_.erase(operation); }
    // False: Connect answers that there is no service.
    bool service_present = true;
    // Every text is said at once: each Speak reports the character busy and then idle again,
    // so that a waiting speaker goes on at its next look.
    bool finishes_at_once = false;

    // The reports of the service, delivered to the registered sink (none: dropped). The
    // character is the loaded one unless given.
    void NotifyHidden();
    void NotifyVisibleState(int character_id, bool visible);
    void NotifyDoubleClick();
    void NotifyIdle(bool started);
    void NotifyIdleOf(int character_id, bool started);

    bool Connected() const { return connected_; }
    bool CharacterLoaded() const { return character_loaded_; }
    bool SinkRegistered() const { return sink_ != nullptr; }
    int CharacterId() const { return character_id_; }
    // The identifier the latest request answered.
    int LastRequestId() const { return next_request_id_ - 1; }

    CharacterSize original_size{128, 128};
    DesktopArea desktop{.screen_width = 1024,
                        .screen_height = 768,
                        .work_left = 0,
                        .work_top = 0,
                        .work_right = 1024,
                        .work_bottom = 738};

  private:
    // Log the request and throw when the test made the operation fail.
    void Enter(const std::string& operation);
    void Enter(const std::string& operation, const std::string& arguments);
    void ThrowIfFailing(const std::string& operation) const;
    void RequireCharacter(int character_id) const;
    int NextRequest();

    std::vector<std::string> log_;
    std::set<std::string> failing_;
    bool connected_ = false;
    bool character_loaded_ = false;
    int character_id_ = 0;
    int next_character_id_ = 101;
    int next_request_id_ = 1;
    int next_registration_id_ = 11;
    SpeechNotificationSink* sink_ = nullptr;
    int sink_registration_ = -1;
    ScreenPoint position_{};
};

}  // namespace planwarte
