#pragma once

#include <string>

namespace planwarte {

class AgentHost;
class SettingsStore;

// What the announcement of today's appointments changes on the main window.
struct AppointmentAnnouncementState {
    // Set at start-up and at a day change; the first announced appointment clears it after
    // the introduction.
    bool& intro_pending;
    // Gets "Heute:" with the introduction and one line per announced appointment.
    std::string& tray_tool_tip;
};

// Queues one of today's appointments for speaking ("14:00 Uhr Zahnarzt") and lists it in the
// tray tool tip; the first one after start-up is introduced. Nothing waits, so the page build
// goes on while the character speaks.
void AnnounceAppointment(AgentHost& host, SettingsStore& settings,
                         AppointmentAnnouncementState state, const std::string& time_text,
                         const std::string& subject);

}  // namespace planwarte
