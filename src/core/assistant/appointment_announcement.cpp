#include "core/assistant/appointment_announcement.h"

#include "core/assistant/agent_host.h"
#include "core/common/string_table.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

void AnnounceAppointment(AgentHost& host, SettingsStore& settings,
                         AppointmentAnnouncementState state, const std::string& time_text,
                         const std::string& subject) {
    if (!host.LoadAgent(0, 0, true)) {
        return;
    }
    if (state.intro_pending) {
        host.PlayAnimation("Blink");
        std::string intro;
        if (auto key = settings.OpenKey(kSettingsKeyPath, false)) {
            intro = ReadStringOr(*key, "SBAgentAppointments", LoadStr(msg::kAppointmentsIntro));
        }
        host.SpeakText(intro, {.no_wait = true});
        state.tray_tool_tip = LoadStr(msg::kTrayTodayCaption);
        state.intro_pending = false;
    }
    const std::string line = time_text + " " + subject;
    state.tray_tool_tip += "\n" + line;
    host.SpeakText(line, {.no_wait = true});
}

}  // namespace planwarte
