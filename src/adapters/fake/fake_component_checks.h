#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/assistant/component_checks.h"

// The component checks' outside parts for tests: probes a test sets, and a presenter that
// records each dialog shown.
//
//   FakeComponentProbes probes;
//   probes.engine_count = 0;                       // no text-to-speech engine
//   RecordingInstallHelpPresenter presenter;       // closes each dialog with its button
//   ... a start of the assistant ...
//   EXPECT_EQ(presenter.captions, (std::vector<std::string>{"TTS nicht installiert!"}));
namespace planwarte {

class FakeComponentProbes : public ComponentProbes {
  public:
    bool CharacterHostPresent() override;
    bool SpeechInterfacePresent() override;
    int EngineCount() override;
    bool CharactersPresent() override;

    bool character_host = true;
    bool speech_interface = true;
    int engine_count = 1;
    bool characters = true;
    // The probes asked, in order: "character host", "speech interface", "engines",
    // "characters".
    std::vector<std::string> asked;
};

class RecordingInstallHelpPresenter : public InstallHelpPresenter {
  public:
    // Records the dialog's caption, then plays the user: on_show when set, else the button.
    void ShowModal(InstallHelpDialog& dialog) override;

    std::function<void(InstallHelpDialog&)> on_show;
    std::vector<std::string> captions;
    // The dialog's result when it was closed.
    std::vector<int> results;
};

}  // namespace planwarte
