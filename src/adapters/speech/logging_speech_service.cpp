#include "adapters/speech/logging_speech_service.h"

namespace planwarte {

namespace {

std::string OnOneLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                line += "\\\\";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            default:
                line += c;
        }
    }
    return line;
}

}  // namespace

LoggingSpeechService::LoggingSpeechService(SpeechService& inner, std::ostream& log)
    : inner_(inner), log_(log) {}

void LoggingSpeechService::WriteLine(const std::string& line) {
    log_ << line << '\n' << std::flush;
}

int LoggingSpeechService::Show(int character_id) {
    WriteLine("Show");
    return inner_.Show(character_id);
}

int LoggingSpeechService::Hide(int character_id) {
    WriteLine("Hide");
    return inner_.Hide(character_id);
}

int LoggingSpeechService::Speak(int character_id, const std::string& text) {
    WriteLine("Speak(" + OnOneLine(text) + ")");
    return inner_.Speak(character_id, text);
}

int LoggingSpeechService::Play(int character_id, const std::string& animation) {
    WriteLine("Play(" + OnOneLine(animation) + ")");
    return inner_.Play(character_id, animation);
}

}  // namespace planwarte
