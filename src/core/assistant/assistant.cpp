#include "core/assistant/assistant.h"

#include <utility>

#include "core/assistant/greeting.h"
#include "core/assistant/self_defined_sayings.h"

namespace planwarte {

Assistant::Assistant(AssistantServices services, const bool& english)
    : settings_(services.settings),
      clock_(services.clock),
      files_(services.files),
      trace_(services.trace),
      host_(AgentHostServices{.speech = services.speech,
                              .settings = services.settings,
                              .loop = services.loop,
                              .files = services.files,
                              .notice = services.notice,
                              .trace = services.trace,
                              .component_checks = services.component_checks},
            english),
      time_announcement_(host_, services.settings, services.clock, english),
      mail_check_(host_, services.settings, services.clock, services.trace),
      reader_(host_, services.loop, services.trace) {}

void Assistant::Greet() {
    SpeakGreeting(host_, settings_, clock_);
}

void Assistant::CheckSayings(const std::string& program_folder) {
    planwarte::CheckSayings(host_, files_, program_folder, clock_, trace_);
}

void Assistant::AnnounceAppointment(AppointmentAnnouncementState state,
                                    const std::string& time_text, const std::string& subject) {
    planwarte::AnnounceAppointment(host_, settings_, state, time_text, subject);
}

}  // namespace planwarte
