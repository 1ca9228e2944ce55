#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/assistant/agent_notification.h"
#include "core/assistant/agent_notify_sink.h"
#include "core/assistant/speech_service.h"

namespace planwarte {

class EventLoop;
class FileSystem;
class SettingsStore;
class TMKFFehler;
class UserNotice;

struct AgentHostServices {
    // Null: there is no assistant, and every start answers that it is not available.
    SpeechService* speech = nullptr;
    SettingsStore& settings;
    EventLoop& loop;
    FileSystem& files;
    UserNotice& notice;
    std::function<void(const std::string&)> trace;
    // The checks for the components the character needs, made at a start while they are
    // pending; null: no check.
    TMKFFehler* component_checks = nullptr;
};

// How a text is spoken; the gestures are the character's reading animations.
struct SpeakOptions {
    // "Read" before the text.
    bool gesture_before = false;
    // "ReadReturn" when the wait ends because the character is idle, or at once with no_wait.
    bool gesture_after = false;
    // Return right after queuing the text.
    bool no_wait = false;
    // None of "Read", "ReadContinued" and "ReadReturn".
    bool no_gestures = false;
};

enum class Pronunciation { German, English };

// The program's side of the speaking character, on the main thread: starting it with the
// user's character file, size, position and voice, speaking and playing animations, hiding
// and unloading it when it has been idle for a while, and the state the service's reports
// change.
class AgentHost {
  public:
    static constexpr int kWaitPollMs = 50;
    static constexpr int kIdleTicksAfterIdleStarted = 4;
    static constexpr int kHideAtIdleTick = 6;
    static constexpr int kUnloadAtIdleTick = 7;
    // How far the keep-on-screen rule keeps the character from the screen's edge.
    static constexpr int kScreenMargin = 10;

    // english is the program's English-texts flag, read at every start. The service's reports
    // reach HandleNotification on the main thread, through the event loop.
    AgentHost(AgentHostServices services, const bool& english);
    ~AgentHost();

    AgentHost(const AgentHost&) = delete;
    AgentHost& operator=(const AgentHost&) = delete;

    // Remembers the desktop's work area, whose lower right corner is the default position.
    void TakeWorkArea();

    // Starts the character: at (x, y), or where it was last unloaded, or in the lower right
    // corner of the work area when both are 0; shown when show is set. True when a character
    // is loaded; the result is also kept as Available().
    bool LoadAgent(int x, int y, bool show);
    // Stops the character's requests, stores its position and unloads it.
    void UnloadAgent();

    // Queues the text (which may hold '|' alternatives) and, unless told not to, waits until
    // the character is idle, processing the main thread's messages meanwhile.
    void SpeakText(const std::string& text, SpeakOptions options);
    // The result of an animation does not matter: one that fails is ignored.
    void PlayAnimation(const std::string& name);
    void StopRequest(int request_id);

    // The 10-second tick: hides the idle character at the sixth tick and unloads it at the
    // seventh.
    void IdleTick();
    // A report of the character, on the main thread in the order the service sent them.
    void HandleNotification(AgentNotification notification);

    // The menu's pronunciation choice for the loaded character; not stored.
    void ChoosePronunciation(Pronunciation pronunciation);
    // The settings dialog's buttons: the service's character chooser and its output settings.
    void ShowCharacterChooser();
    void ShowOutputSettings();

    bool Available() const { return available_; }
    bool Loaded() const { return character_loaded_; }
    bool IsIdle() const { return idle_; }
    bool Stopped() const { return stop_; }
    void SetStop(bool stop) { stop_ = stop; }
    std::int16_t IdleTicks() const { return idle_ticks_; }
    void SetIdleTicks(std::int16_t ticks) { idle_ticks_ = ticks; }
    bool Force() const { return force_; }
    void SetForce(bool force) { force_ = force; }
    std::int16_t CyclicReminderCount() const { return cyclic_reminder_count_; }
    void SetCyclicReminderCount(std::int16_t count) { cyclic_reminder_count_ = count; }
    // The identifier of the latest request.
    int RequestId() const { return request_id_; }
    const DesktopArea& WorkArea() const { return work_area_; }

  private:
    struct StartSettings {
        std::string character_file;
        ScreenPoint stored_position;
        bool zoom = false;
    };
    // Step 2 of a start; false when the user switched the character off.
    bool ReadStartSettings(StartSettings& settings);
    bool ConnectService();
    void SetLanguageOfCharacter();
    void SetVoiceOfCharacter();
    CharacterSize SizeCharacter(bool zoom);
    void PlaceCharacter(ScreenPoint requested, ScreenPoint stored, CharacterSize size);
    void RegisterSink();
    void UnregisterSink();
    void StorePosition();

    AgentHostServices services_;
    const bool& english_;
    // Reports still queued when the host has gone find it expired and are dropped.
    std::shared_ptr<const AgentNotifySink::Receiver> notification_receiver_;
    std::unique_ptr<AgentNotifySink> sink_;
    int sink_registration_ = -1;
    DesktopArea work_area_{};

    bool character_loaded_ = false;
    int character_id_ = 0;
    int request_id_ = 0;
    bool available_ = false;
    bool idle_ = false;
    bool stop_ = false;
    std::int16_t idle_ticks_ = 0;
    bool force_ = false;
    std::int16_t cyclic_reminder_count_ = 0;
};

}  // namespace planwarte
