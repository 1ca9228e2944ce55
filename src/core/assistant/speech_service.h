#pragma once

#include <stdexcept>
#include <string>

// The speaking character as a service outside the program: a character with a voice that is
// loaded, shown, made to speak and to play animations, and that reports back what happens to
// it. The assistant drives it only through this interface.
namespace planwarte {

// A request the speech service could not carry out. The text says which request failed.
class SpeechError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CharacterSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const CharacterSize&, const CharacterSize&) = default;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The primary screen, and its work area (the screen without task bars and panels), in pixels.
struct DesktopArea {
    int screen_width = 0;
    int screen_height = 0;
    int work_left = 0;
    int work_top = 0;
    int work_right = 0;
    int work_bottom = 0;
};

// Languages of speech.
inline constexpr int kSpeechLanguageGerman = 7;
inline constexpr int kSpeechLanguageEnglish = 9;

// What the service reports. It may call these on any thread; the receiver hands each report
// on to the main thread, in the order of the calls.
class SpeechNotificationSink {
  public:
    virtual ~SpeechNotificationSink() = default;
    // A character was shown or hidden, by the program, the user or the service.
    virtual void VisibleState(int character_id, bool visible) = 0;
    virtual void DoubleClick(int character_id) = 0;
    // A character has spoken and played everything it was asked to (started = true), or has
    // begun a request again after such a pause (started = false).
    virtual void Idle(int character_id, bool started) = 0;
};

// Every operation but Desktop throws SpeechError when it fails. The requests on a character (show,
// hide, speak, play, stop) are queued and carried out one after another in the order given; each
// answers the identifier of its request at once, without waiting.
class SpeechService {
  public:
    virtual ~SpeechService() = default;

    // Connects to the service: true when it answers, false when there is none to connect
    // to. Throws SpeechError when connecting fails for another reason.
    virtual bool Connect() = 0;
    // Ends the connection; the service forgets the characters and sinks of this client.
    virtual void Disconnect() = 0;

    // Loads the character from its file, or the service's default character for the empty
    // path; answers the character's identifier. The character starts hidden.
    virtual int LoadCharacter(const std::string& file_path) = 0;
    virtual void UnloadCharacter(int character_id) = 0;

    // The sink receives the reports until it is unregistered; it must outlive its
    // registration. Answers the registration's identifier.
    virtual int RegisterSink(SpeechNotificationSink* sink) = 0;
    virtual void UnregisterSink(int registration_id) = 0;

    virtual int Show(int character_id) = 0;
    virtual int Hide(int character_id) = 0;
    // The text may hold alternatives separated by '|'; one of them, chosen at random each
    // time, is spoken. An empty text is a request that ends at once.
    virtual int Speak(int character_id, const std::string& text) = 0;
    // An animation the character does not have is a request that ends at once.
    virtual int Play(int character_id, const std::string& animation) = 0;
    // Ends one request, queued or running.
    virtual int Stop(int character_id, int request_id) = 0;
    // Ends every request of the character.
    virtual void StopAll(int character_id) = 0;

    // kSpeechLanguageGerman or kSpeechLanguageEnglish.
    virtual void SetLanguage(int character_id, int language_id) = 0;
    // The voice by its mode identifier in braces, "{...}".
    virtual void SetVoice(int character_id, const std::string& mode_id) = 0;

    virtual CharacterSize OriginalSize(int character_id) = 0;
    virtual void SetSize(int character_id, CharacterSize size) = 0;
    // The character's top left corner on the screen.
    virtual void SetPosition(int character_id, ScreenPoint position) = 0;
    virtual ScreenPoint Position(int character_id) = 0;

    // The service's own dialog for choosing the default character, at the position or where
    // the service places it.
    virtual void ShowCharacterChooser(ScreenPoint position, bool use_default_position) = 0;
    // The service's settings window, opened on the named page ("Output": the voice output).
    virtual void ShowSettingsPage(const std::string& page) = 0;

    // The screen the character stands on.
    virtual DesktopArea Desktop() const = 0;
};

}  // namespace planwarte
