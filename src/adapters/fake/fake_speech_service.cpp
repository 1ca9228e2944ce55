#include "adapters/fake/fake_speech_service.h"

namespace planwarte {

void FakeSpeechService::Enter(const std::string& operation) {
    log_.push_back(operation);
    ThrowIfFailing(operation);
}

void FakeSpeechService::Enter(const std::string& operation, const std::string& arguments) {
    log_.push_back(operation + "(" + arguments + ")");
    ThrowIfFailing(operation);
}

void FakeSpeechService::ThrowIfFailing(const std::string& operation) const {
    if (failing_.contains(operation)) {
        throw SpeechError(operation + ": injected failure");
    }
}

void FakeSpeechService::RequireCharacter(int character_id) const {
    if (!character_loaded_ || character_id != character_id_) {
        throw SpeechError("no character with the identifier " + std::to_string(character_id));
    }
}

int FakeSpeechService::NextRequest() {
    return next_request_id_++;
}

bool FakeSpeechService::Connect() {
    Enter("Connect");
    connected_ = service_present;
    return service_present;
}

void FakeSpeechService::Disconnect() {
    Enter("Disconnect");
    connected_ = false;
    character_loaded_ = false;
    sink_ = nullptr;
}

int FakeSpeechService::LoadCharacter(const std::string& file_path) {
    Enter("LoadCharacter", file_path);
    if (!connected_) {
        throw SpeechError("LoadCharacter: not connected");
    }
    character_loaded_ = true;
    character_id_ = next_character_id_++;
    NextRequest();
    return character_id_;
}

void FakeSpeechService::UnloadCharacter(int character_id) {
    Enter("UnloadCharacter");
    RequireCharacter(character_id);
    character_loaded_ = false;
}

int FakeSpeechService::RegisterSink(SpeechNotificationSink* sink) {
    Enter("RegisterSink");
    sink_ = sink;
    sink_registration_ = next_registration_id_++;
    return sink_registration_;
}

void FakeSpeechService::UnregisterSink(int registration_id) {
    Enter("UnregisterSink");
    if (registration_id != sink_registration_) {
        throw SpeechError("UnregisterSink: unknown registration");
    }
    sink_ = nullptr;
    sink_registration_ = -1;
}

int FakeSpeechService::Show(int character_id) {
    Enter("Show");
    RequireCharacter(character_id);
    return NextRequest();
}

int FakeSpeechService::Hide(int character_id) {
    Enter("Hide");
    RequireCharacter(character_id);
    return NextRequest();
}

int FakeSpeechService::Speak(int character_id, const std::string& text) {
    Enter("Speak", text);
    RequireCharacter(character_id);
    if (finishes_at_once) {
        NotifyIdleOf(character_id, false);
        NotifyIdleOf(character_id, true);
    }
    return NextRequest();
}

int FakeSpeechService::Play(int character_id, const std::string& animation) {
    Enter("Play", animation);
    RequireCharacter(character_id);
    return NextRequest();
}

int FakeSpeechService::Stop(int character_id, int request_id) {
    Enter("Stop", std::to_string(request_id));
    RequireCharacter(character_id);
    return NextRequest();
}

void FakeSpeechService::StopAll(int character_id) {
    Enter("StopAll");
    RequireCharacter(character_id);
}

void FakeSpeechService::SetLanguage(int character_id, int language_id) {
    Enter("SetLanguage", std::to_string(language_id));
    RequireCharacter(character_id);
}

void FakeSpeechService::SetVoice(int character_id, const std::string& mode_id) {
    Enter("SetVoice", mode_id);
    RequireCharacter(character_id);
}

CharacterSize FakeSpeechService::OriginalSize(int character_id) {
    Enter("OriginalSize");
    RequireCharacter(character_id);
    return original_size;
}

void FakeSpeechService::SetSize(int character_id, CharacterSize size) {
    Enter("SetSize", std::to_string(size.width) + "," + std::to_string(size.height));
    RequireCharacter(character_id);
}

void FakeSpeechService::SetPosition(int character_id, ScreenPoint position) {
    Enter("SetPosition", std::to_string(position.x) + "," + std::to_string(position.y));
    RequireCharacter(character_id);
    position_ = position;
}

ScreenPoint FakeSpeechService::Position(int character_id) {
    Enter("Position");
    RequireCharacter(character_id);
    return position_;
}

void FakeSpeechService::ShowCharacterChooser(ScreenPoint position, bool use_default_position) {
    Enter("ShowCharacterChooser", std::to_string(position.x) + "," + std::to_string(position.y) +
                                      (use_default_position ? ",default" : ""));
}

void FakeSpeechService::ShowSettingsPage(const std::string& page) {
    Enter("ShowSettingsPage", page);
}

std::vector<std::string> FakeSpeechService::Performance() const {
    std::vector<std::string> seen;
    for (const std::string& line : log_) {
        if (line == "Show" || line == "Hide" || line.starts_with("Speak(") ||
            line.starts_with("Play(")) {
            seen.push_back(line);
        }
    }
    return seen;
}

void FakeSpeechService::NotifyHidden() {
    NotifyVisibleState(character_id_, false);
}

void FakeSpeechService::NotifyVisibleState(int character_id, bool visible) {
    if (sink_) {
        sink_->VisibleState(character_id, visible);
    }
}

void FakeSpeechService::NotifyDoubleClick() {
    if (sink_) {
        sink_->DoubleClick(character_id_);
    }
}

void FakeSpeechService::NotifyIdle(bool started) {
    NotifyIdleOf(character_id_, started);
}

void FakeSpeechService::NotifyIdleOf(int character_id, bool started) {
    if (sink_) {
        sink_->Idle(character_id, started);
    }
}

}  // namespace planwarte
