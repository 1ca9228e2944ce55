#pragma once

#include <functional>
#include <string>

#include "core/assistant/agent_host.h"
#include "core/assistant/aloud_reader.h"
#include "core/assistant/appointment_announcement.h"
#include "core/assistant/new_mail_check.h"
#include "core/assistant/time_announcement.h"

namespace planwarte {

class Clock;
class EventLoop;
class FileSystem;
class OutlookSession;
class SettingsStore;
class SpeechService;
class TMKFFehler;
class UserNotice;

struct AssistantServices {
    // Null: there is no assistant; every start answers that it is not available.
    SpeechService* speech = nullptr;
    SettingsStore& settings;
    const Clock& clock;
    EventLoop& loop;
    FileSystem& files;
    UserNotice& notice;
    std::function<void(const std::string&)> trace;
    // Null: the character starts without checking its components.
    TMKFFehler* component_checks = nullptr;
};

// The speaking assistant as the main window holds it: the character and what it says by
// itself, the greeting, the time, the sayings, today's appointments and new mail.
class Assistant {
  public:
    // english is the main window's English-texts flag; main_window receives the character's
    // reports as the main window's messages.
    Assistant(AssistantServices services, const bool& english);

    AgentHost& Host() { return host_; }
    const AgentHost& Host() const { return host_; }

    void Greet();
    void CheckTime(bool force) { time_announcement_.Check(force); }
    void CheckSayings(const std::string& program_folder);
    void AnnounceAppointment(AppointmentAnnouncementState state, const std::string& time_text,
                             const std::string& subject);
    void CheckNewMail(OutlookSession& session) { mail_check_.Run(session); }
    const NewMailCheck& MailCheck() const { return mail_check_; }
    // Reading the clipboard or the open mail aloud, on the popup menu's request.
    AloudReader& Reader() { return reader_; }

  private:
    SettingsStore& settings_;
    const Clock& clock_;
    FileSystem& files_;
    std::function<void(const std::string&)> trace_;
    AgentHost host_;
    TimeAnnouncement time_announcement_;
    NewMailCheck mail_check_;
    AloudReader reader_;
};

}  // namespace planwarte
