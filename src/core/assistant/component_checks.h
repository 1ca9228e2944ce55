#pragma once

// The checks for the outside components the assistant needs, made before its first start: the
// first one missing is explained by its install-help dialog, and the start fails.
namespace planwarte {

class EventLoop;
class InstallHelpDialog;
class ShellLauncher;

// Looks for each component. None of them throws: a component that cannot be looked at is
// missing.
class ComponentProbes {
  public:
    virtual ~ComponentProbes() = default;
    // The service that hosts the character.
    virtual bool CharacterHostPresent() = 0;
    // The speech interface the character's voice is made through.
    virtual bool SpeechInterfacePresent() = 0;
    // The number of text-to-speech engines (voices) it offers.
    virtual int EngineCount() = 0;
    // At least one character to load.
    virtual bool CharactersPresent() = 0;
};

// Shows an install-help dialog modally: returns when the dialog is closed.
class InstallHelpPresenter {
  public:
    virtual ~InstallHelpPresenter() = default;
    virtual void ShowModal(InstallHelpDialog& dialog) = 0;
};

struct ComponentCheckServices {
    ComponentProbes& probes;
    InstallHelpPresenter& presenter;
    // For the dialogs' links.
    ShellLauncher& shell;
    EventLoop& loop;
};

// The check runner. One per process: once every component was found, no check runs again in
// this run, even if a component goes away later.
class TMKFFehler {
  public:
    explicit TMKFFehler(ComponentCheckServices services) : services_(services) {}

    // True until a run of the checks has passed.
    bool Pending() const { return pending_; }

    // Checks the character host, the speech interface, the engines and the characters, in this
    // order. The first one missing has its dialog shown, and the answer is false; the checks
    // stay pending. english is the English-texts flag, which the dialogs' links follow.
    bool Run(bool english);

  private:
    ComponentCheckServices services_;
    bool pending_ = true;
};

}  // namespace planwarte
