#include "adapters/speech/logging_speech_service.h"

#include <gtest/gtest.h>

#include <sstream>

#include "adapters/fake/fake_speech_service.h"

namespace planwarte {
namespace {

class LoggingSpeechServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(logging_.Connect());
        character_ = logging_.LoadCharacter("/figuren/merlin.acs");
    }

    FakeSpeechService inner_;
    std::ostringstream log_;
    LoggingSpeechService logging_{inner_, log_};
    int character_ = 0;
};

TEST_F(LoggingSpeechServiceTest, WritesWhatIsSeenOrHeardOneLineEachInOrder) {
    logging_.SetLanguage(character_, kSpeechLanguageGerman);
    logging_.SetVoice(character_, "{f3}");
    logging_.SetPosition(character_, {10, 20});
    logging_.Show(character_);
    logging_.Play(character_, "Wave");
    logging_.Speak(character_, "Guten Morgen|Moin");
    const int request = logging_.Speak(character_, "Zeile eins\nZeile zwei\r\\ Ende");
    logging_.Stop(character_, request);
    logging_.Hide(character_);

    EXPECT_EQ(log_.str(),
              "Show\n"
              "Play(Wave)\n"
              "Speak(Guten Morgen|Moin)\n"
              "Speak(Zeile eins\\nZeile zwei\\r\\\\ Ende)\n"
              "Hide\n");
    // Everything reached the service behind it, unchanged.
    EXPECT_EQ(inner_.Log(),
              (std::vector<std::string>{"Connect", "LoadCharacter(/figuren/merlin.acs)",
                                        "SetLanguage(7)", "SetVoice({f3})", "SetPosition(10,20)",
                                        "Show", "Play(Wave)", "Speak(Guten Morgen|Moin)",
                                        "Speak(Zeile eins\nZeile zwei\r\\ Ende)",
                                        "Stop(" + std::to_string(request) + ")", "Hide"}));
}

TEST_F(LoggingSpeechServiceTest, AFailingRequestIsLoggedAndItsErrorPassedOn) {
    inner_.Fail("Speak");
    EXPECT_THROW(logging_.Speak(character_, "Hallo"), SpeechError);
    EXPECT_EQ(log_.str(), "Speak(Hallo)\n");
}

TEST_F(LoggingSpeechServiceTest, AnswersComeFromTheServiceBehind) {
    inner_.original_size = {200, 100};
    inner_.desktop.screen_width = 1280;
    EXPECT_EQ(logging_.OriginalSize(character_), (CharacterSize{200, 100}));
    EXPECT_EQ(logging_.Desktop().screen_width, 1280);
    const int request = logging_.Show(character_);
    EXPECT_EQ(request, inner_.LastRequestId());
    EXPECT_EQ(logging_.RegisterSink(nullptr), 11);
}

}  // namespace
}  // namespace planwarte
