#include "core/assistant/component_checks.h"

#include <memory>

#include "core/assistant/install_help_dialogs.h"

namespace planwarte {

bool TMKFFehler::Run(bool english) {
    ComponentProbes& probes = services_.probes;
    const InstallHelpLinks links{
        .shell = services_.shell, .loop = services_.loop, .english = english};
    // The dialog lives while it is shown, as a modal form does.
    std::unique_ptr<InstallHelpDialog> dialog;
    if (!probes.CharacterHostPresent()) {
        dialog = std::make_unique<TFehlerMeldungAGENT>(links);
    } else if (!probes.SpeechInterfacePresent()) {
        dialog = std::make_unique<TFehlerMeldungSAPI>(links);
    } else if (probes.EngineCount() <= 0) {
        dialog = std::make_unique<TFehlerMeldungTTS>(links);
    } else if (!probes.CharactersPresent()) {
        dialog = std::make_unique<TFehlerMeldungAGENTS>(links);
    }
    if (dialog) {
        services_.presenter.ShowModal(*dialog);
        return false;
    }
    pending_ = false;
    return true;
}

}  // namespace planwarte
