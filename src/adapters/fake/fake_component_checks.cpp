#include "adapters/fake/fake_component_checks.h"

#include "core/assistant/install_help_dialogs.h"

namespace planwarte {

bool FakeComponentProbes::CharacterHostPresent() {
    asked.push_back("character host");
    return character_host;
}

bool FakeComponentProbes::SpeechInterfacePresent() {
    asked.push_back("speech interface");
    return speech_interface;
}

int FakeComponentProbes::EngineCount() {
    asked.push_back("engines");
    return engine_count;
}

bool FakeComponentProbes::CharactersPresent() {
    asked.push_back("characters");
    return characters;
}

void RecordingInstallHelpPresenter::ShowModal(InstallHelpDialog& dialog) {
    captions.push_back(dialog.Caption());
    if (on_show) {
        on_show(dialog);
    } else {
        dialog.Button1Click();
    }
    results.push_back(dialog.ModalResult());
}

}  // namespace planwarte
