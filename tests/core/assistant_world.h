#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_speech_service.h"
#include "common/fake_services.h"
#include "core/assistant/assistant.h"
#include "core/settings/setting_values.h"

namespace planwarte::testing_support {

// An assistant on the fake services and a recording speech service, with the character
// switched on. The character's reports go through the event loop to the host.
struct AssistantWorld {
    AssistantWorld() {
        fakes.settings.SetInteger(kSettingsKeyPath, "CharacterUsed", 1);
        assistant = std::make_unique<Assistant>(
            AssistantServices{.speech = &speech,
                              .settings = fakes.settings,
                              .clock = fakes.clock,
                              .loop = fakes.loop,
                              .files = fakes.files,
                              .notice = fakes.notice,
                              .trace = [this](const std::string& text) { traces.push_back(text); }},
            english);
        assistant->Host().TakeWorkArea();
    }

    AgentHost& Host() { return assistant->Host(); }

    // Moves the clock forward to the next moment with this time of day (now if it is now).
    void AdvanceToTime(int hour, int minute, int second = 0) {
        const double now = fakes.clock.Now().value;
        const double day = std::floor(now);
        double target = day + EncodeTime(hour, minute, second).value;
        if (target < now - 1e-9) {
            target += 1.0;
        }
        fakes.clock.Advance(std::llround((target - now) * 86'400'000.0));
    }

    void SetString(const char* name, const std::string& value) {
        fakes.settings.SetString(kSettingsKeyPath, name, value);
    }
    void SetInteger(const char* name, std::int32_t value) {
        fakes.settings.SetInteger(kSettingsKeyPath, name, value);
    }

    FakeServices fakes;
    FakeSpeechService speech;
    bool english = false;
    std::vector<std::string> traces;
    std::unique_ptr<Assistant> assistant;
};

}  // namespace planwarte::testing_support
