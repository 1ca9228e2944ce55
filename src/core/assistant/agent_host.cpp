#include "core/assistant/agent_host.h"

#include <exception>
#include <utility>

#include "core/app/event_loop.h"
#include "core/app/file_system.h"
#include "core/app/host_services.h"
#include "core/assistant/component_checks.h"
#include "core/common/string_table.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

constexpr const char* kServiceMissingTrace = "Agent nicht installiert";
constexpr const char* kLanguageFailedTrace = "_22_";
constexpr const char* kVoiceFailedTrace = "_23_";
constexpr const char* kSinkFailedTrace = "_24_";
constexpr const char* kOutputSettingsPage = "Output";

// Runs the steps of a teardown one after another although one of them fails, and rethrows
// the first failure at the end: a character half unloaded would be unloaded again and again.
class TeardownSteps {
  public:
    template <typename Step>
    void Run(Step step) {
        try {
            step();
        } catch (const std::exception&) {
            if (!first_failure_) {
                first_failure_ = std::current_exception();
            }
        }
    }
    void RethrowFirstFailure() {
        if (first_failure_) {
            std::rethrow_exception(first_failure_);
        }
    }

  private:
    std::exception_ptr first_failure_;
};

}  // namespace

AgentHost::AgentHost(AgentHostServices services, const bool& english)
    : services_(std::move(services)),
      english_(english),
      notification_receiver_(std::make_shared<const AgentNotifySink::Receiver>(
          [this](AgentNotification notification) { HandleNotification(notification); })) {}

AgentHost::~AgentHost() {
    // The service must not report to a sink that is gone.
    try {
        UnregisterSink();
    } catch (const std::exception&) {
        // Nothing left to tell: the program is ending.
    }
}

void AgentHost::TakeWorkArea() {
    if (services_.speech) {
        work_area_ = services_.speech->Desktop();
    }
}

bool AgentHost::LoadAgent(int x, int y, bool show) {
    if (character_loaded_) {
        if (show) {
            request_id_ = services_.speech->Show(character_id_);
        }
        available_ = true;
        return true;
    }
    available_ = false;
    if (!services_.speech) {
        return false;
    }
    StartSettings settings;
    if (!ReadStartSettings(settings)) {
        return false;
    }
    // A missing component has shown its dialog; the checks run again at the next start.
    if (services_.component_checks && services_.component_checks->Pending() &&
        !services_.component_checks->Run(english_)) {
        return false;
    }
    idle_ticks_ = 0;
    if (!ConnectService()) {
        return false;
    }
    try {
        character_id_ = services_.speech->LoadCharacter(
            services_.files.FileExists(settings.character_file) ? settings.character_file : "");
    } catch (const std::exception&) {
        try {
            services_.speech->Disconnect();
        } catch (const std::exception&) {
            // The start has failed already; a connection that will not close changes nothing.
        }
        return false;
    }
    character_loaded_ = true;
    SetLanguageOfCharacter();
    SetVoiceOfCharacter();
    const CharacterSize size = SizeCharacter(settings.zoom);
    PlaceCharacter({x, y}, settings.stored_position, size);
    if (show) {
        request_id_ = services_.speech->Show(character_id_);
    }
    // Without a sink the character still works, only without its reports.
    RegisterSink();
    available_ = true;
    return true;
}

bool AgentHost::ReadStartSettings(StartSettings& settings) {
    auto key = services_.settings.OpenKey(kSettingsKeyPath, false);
    if (!key) {
        // No character file, no stored position, normal size; the switch is not consulted.
        return true;
    }
    settings.character_file = ReadStringOr(*key, "AgentFromFileSystem", "");
    settings.stored_position = {ReadIntegerOr(*key, "AgentLastPositionX", 0),
                                ReadIntegerOr(*key, "AgentLastPositionY", 0)};
    // A switch that cannot be read is stored as off, and this start still goes on.
    bool used = true;
    try {
        used = key->ReadBool("CharacterUsed");
    } catch (const SettingsError&) {
        key->WriteBool("CharacterUsed", false);
    }
    settings.zoom = ReadBoolSetting(*key, "AgentZoom");
    return used || force_;
}

bool AgentHost::ConnectService() {
    try {
        if (!services_.speech->Connect()) {
            // Not there at all: the character stays off until the user switches it on again.
            if (auto key = services_.settings.OpenKey(kSettingsKeyPath, false)) {
                key->WriteBool("CharacterUsed", false);
            }
            return false;
        }
    } catch (const std::exception&) {
        services_.trace(kServiceMissingTrace);
        return false;
    }
    return true;
}

void AgentHost::SetLanguageOfCharacter() {
    if (english_) {
        return;
    }
    try {
        services_.speech->SetLanguage(character_id_, kSpeechLanguageGerman);
    } catch (const std::exception&) {
        services_.trace(kLanguageFailedTrace);
    }
}

void AgentHost::SetVoiceOfCharacter() {
    auto key = services_.settings.OpenKey(kSettingsKeyPath, false);
    if (!key) {
        return;
    }
    const std::string mode_id = ReadStringOr(*key, "AgentVoiceModeID", "");
    if (mode_id.empty()) {
        // The character's own voice.
        return;
    }
    try {
        services_.speech->SetVoice(character_id_, "{" + mode_id + "}");
    } catch (const std::exception&) {
        services_.trace(kVoiceFailedTrace);
    }
}

CharacterSize AgentHost::SizeCharacter(bool zoom) {
    CharacterSize size = services_.speech->OriginalSize(character_id_);
    if (zoom) {
        size = {size.width * 2 / 3, size.height * 2 / 3};
        services_.speech->SetSize(character_id_, size);
    }
    return size;
}

void AgentHost::PlaceCharacter(ScreenPoint requested, ScreenPoint stored, CharacterSize size) {
    SpeechService& speech = *services_.speech;
    ScreenPoint position = requested;
    if (requested != ScreenPoint{}) {
        speech.SetPosition(character_id_, requested);
    } else if (stored != ScreenPoint{}) {
        speech.SetPosition(character_id_, stored);
        position = stored;
    } else {
        // The corner lies inside the work area, so the screen check below leaves it there.
        speech.SetPosition(character_id_, {work_area_.work_right - size.width,
                                           work_area_.work_bottom - size.height});
    }
    // Kept on the whole screen, also where the work area ends before it.
    const DesktopArea desktop = speech.Desktop();
    bool moved = false;
    if (desktop.screen_width < position.x + size.width) {
        position.x = desktop.screen_width - size.width - kScreenMargin;
        moved = true;
    }
    if (desktop.screen_height < position.y + size.height) {
        position.y = desktop.screen_height - size.height - kScreenMargin;
        moved = true;
    }
    if (moved) {
        speech.SetPosition(character_id_, position);
    }
}

void AgentHost::RegisterSink() {
    sink_registration_ = -1;
    auto sink = std::make_unique<AgentNotifySink>(services_.loop);
    try {
        sink_registration_ = services_.speech->RegisterSink(sink.get());
    } catch (const std::exception&) {
        services_.trace(kSinkFailedTrace);
        return;
    }
    sink->Attach(notification_receiver_, character_id_);
    sink_ = std::move(sink);
}

void AgentHost::UnregisterSink() {
    if (!sink_) {
        return;
    }
    const int registration = sink_registration_;
    sink_registration_ = -1;
    if (registration != -1) {
        services_.speech->UnregisterSink(registration);
    }
    sink_.reset();
}

void AgentHost::StorePosition() {
    if (auto key = services_.settings.OpenKey(kSettingsKeyPath, false)) {
        const ScreenPoint position = services_.speech->Position(character_id_);
        key->WriteInteger("AgentLastPositionX", position.x);
        key->WriteInteger("AgentLastPositionY", position.y);
    }
}

void AgentHost::UnloadAgent() {
    if (!character_loaded_) {
        return;
    }
    SpeechService& speech = *services_.speech;
    TeardownSteps steps;
    // A sink whose unregistering fails is kept until the connection has ended, since the
    // service may still report to it.
    std::unique_ptr<AgentNotifySink> kept_sink;
    steps.Run([&] {
        try {
            UnregisterSink();
        } catch (...) {
            kept_sink = std::move(sink_);
            throw;
        }
    });
    steps.Run([&] { speech.StopAll(character_id_); });
    steps.Run([&] { StorePosition(); });
    character_loaded_ = false;
    available_ = false;
    steps.Run([&] { speech.UnloadCharacter(character_id_); });
    steps.Run([&] { speech.Disconnect(); });
    steps.RethrowFirstFailure();
}

void AgentHost::SpeakText(const std::string& text, SpeakOptions options) {
    idle_ticks_ = 0;
    if (!character_loaded_) {
        return;
    }
    if (options.gesture_before && !options.no_gestures) {
        PlayAnimation("Read");
    }
    if (!options.no_gestures) {
        PlayAnimation("ReadContinued");
    }
    // The alternatives go to the service as they are; it picks one.
    request_id_ = services_.speech->Speak(character_id_, text);
    for (;;) {
        if (!character_loaded_) {
            // Unloaded while waiting (the idle tick, the settings dialog): nothing left to
            // wait for, and no report will come.
            return;
        }
        if (idle_ || options.no_wait) {
            if (options.gesture_after && !options.no_gestures) {
                PlayAnimation("ReadReturn");
            }
            return;
        }
        if (stop_) {
            return;
        }
        // Timer ticks, menu commands and the service's reports run inside this wait.
        services_.loop.Sleep(kWaitPollMs);
        services_.loop.ProcessPendingMessages();
    }
}

void AgentHost::PlayAnimation(const std::string& name) {
    if (!character_loaded_) {
        return;
    }
    try {
        request_id_ = services_.speech->Play(character_id_, name);
    } catch (const std::exception&) {
        // A character without the animation, or one that cannot play it now, just goes on.
    }
}

void AgentHost::StopRequest(int request_id) {
    if (character_loaded_) {
        request_id_ = services_.speech->Stop(character_id_, request_id);
    }
}

void AgentHost::IdleTick() {
    if (!character_loaded_) {
        idle_ticks_ = 0;
        return;
    }
    ++idle_ticks_;
    if (idle_ticks_ >= kUnloadAtIdleTick) {
        UnloadAgent();
    } else if (idle_ticks_ == kHideAtIdleTick) {
        request_id_ = services_.speech->Hide(character_id_);
    }
}

void AgentHost::HandleNotification(AgentNotification notification) {
    switch (notification) {
        case AgentNotification::Hidden:
            stop_ = true;
            break;
        case AgentNotification::IdleStarted:
            idle_ = true;
            idle_ticks_ = kIdleTicksAfterIdleStarted;
            break;
        case AgentNotification::IdleEnded:
            idle_ = false;
            break;
        case AgentNotification::DoubleClick:
            idle_ticks_ = 0;
            if (cyclic_reminder_count_ > 0 && character_loaded_) {
                request_id_ = services_.speech->Hide(character_id_);
            }
            // Every cyclic reminder stops at its next step.
            cyclic_reminder_count_ = 0;
            break;
    }
}

void AgentHost::ChoosePronunciation(Pronunciation pronunciation) {
    if (!character_loaded_) {
        return;
    }
    try {
        services_.speech->SetLanguage(character_id_, pronunciation == Pronunciation::English
                                                         ? kSpeechLanguageEnglish
                                                         : kSpeechLanguageGerman);
    } catch (const std::exception&) {
        services_.notice.ShowMessage(LoadStr(msg::kPronunciationNotLoaded));
    }
}

void AgentHost::ShowCharacterChooser() {
    if (LoadAgent(0, 0, false)) {
        services_.speech->ShowCharacterChooser({0, 0}, true);
    }
}

void AgentHost::ShowOutputSettings() {
    if (!LoadAgent(0, 0, false)) {
        return;
    }
    try {
        services_.speech->ShowSettingsPage(kOutputSettingsPage);
    } catch (const std::exception&) {
        services_.notice.ShowMessage(LoadStr(msg::kAgentSettingsMissing));
    }
}

}  // namespace planwarte
