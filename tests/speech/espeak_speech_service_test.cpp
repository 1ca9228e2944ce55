// The espeak-ng speaker on real speech, spoken into memory instead of a sound device.
#include "adapters/speech/espeak_speech_service.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <thread>

#include "speech/speech_test_support.h"

namespace planwarte {
namespace {

using testing_support::RecordingOutput;
using testing_support::RecordingSink;

constexpr const char* kShortText = "Eins.";
constexpr const char* kLongText =
    "Guten Morgen! Heute ist Donnerstag, der zehnte Dezember, und es stehen drei Termine an.";

class EspeakSpeechServiceTest : public ::testing::Test {
  protected:
    EspeakSpeechServiceTest() {
        auto output = std::make_unique<RecordingOutput>();
        output_ = output.get();
        service_ = std::make_unique<EspeakSpeechService>(EspeakSpeechService::Options{
            .output = std::move(output),
            .desktop = {},
            .choose_alternative =
                [this](std::size_t count) {
                    asked_.push_back(count);
                    return choice_;
                },
        });
    }

    void SetUp() override {
        ASSERT_TRUE(service_->Connect());
        character_ = service_->LoadCharacter("");
        registration_ = service_->RegisterSink(&sink_);
    }

    std::string IdleStarted() const { return "Idle(" + std::to_string(character_) + ",started)"; }
    std::string IdleEnded() const { return "Idle(" + std::to_string(character_) + ",ended)"; }

    // Waits until the character has said everything asked of it so far.
    void WaitUntilIdle() {
        ++idle_reports_;
        ASSERT_TRUE(sink_.WaitFor(IdleStarted(), idle_reports_))
            << ::testing::PrintToString(sink_.Lines());
    }

    // The samples of the text, spoken on its own.
    std::vector<std::int16_t> Said(const std::string& text) {
        service_->Speak(character_, text);
        WaitUntilIdle();
        const auto texts = output_->Texts();
        return texts.empty() ? std::vector<std::int16_t>{} : texts.back().samples;
    }

    // Declared before the service, which reports to it until it is gone.
    RecordingSink sink_;
    RecordingOutput* output_ = nullptr;
    std::vector<std::size_t> asked_;
    std::size_t choice_ = 0;
    std::unique_ptr<EspeakSpeechService> service_;
    int character_ = 0;
    int registration_ = 0;
    int idle_reports_ = 0;
};

// The engine carries some of its state from one text to the next, so the same text is not
// the same samples twice; its length stays within a few percent.
bool AboutAsLong(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    const double longer = static_cast<double>(std::max(a.size(), b.size()));
    const double shorter = static_cast<double>(std::min(a.size(), b.size()));
    return shorter > 0 && shorter >= 0.95 * longer;
}

double RootMeanSquare(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (const std::int16_t sample : samples) {
        sum += static_cast<double>(sample) * sample;
    }
    return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

TEST_F(EspeakSpeechServiceTest, GermanTextBecomesAudibleSpeech) {
    service_->SetLanguage(character_, kSpeechLanguageGerman);
    const std::vector<std::int16_t> samples = Said(kLongText);

    const int rate = output_->SampleRate();
    ASSERT_GT(rate, 8000);
    // A sentence of fifteen words takes seconds to say, and it is not silence.
    EXPECT_GT(samples.size(), static_cast<std::size_t>(3 * rate));
    EXPECT_GT(RootMeanSquare(samples), 300.0);
}

TEST_F(EspeakSpeechServiceTest, RequestsAreCarriedOutInTheirOrderBetweenOneIdleEndAndStart) {
    output_->CloseGate();
    service_->Speak(character_, kShortText);
    // The first text is being spoken while the others are queued behind it.
    ASSERT_TRUE(output_->WaitUntilWriting());
    service_->Show(character_);
    service_->Speak(character_, kLongText);
    service_->Play(character_, "Wave");
    service_->Speak(character_, kShortText);
    service_->Hide(character_);
    output_->OpenGate();
    WaitUntilIdle();

    const std::string id = std::to_string(character_);
    EXPECT_EQ(sink_.Lines(),
              (std::vector<std::string>{IdleEnded(), "Visible(" + id + ",shown)",
                                        "Visible(" + id + ",hidden)", IdleStarted()}));
    const auto texts = output_->Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_TRUE(AboutAsLong(texts[0].samples, texts[2].samples));
    EXPECT_GT(texts[1].samples.size(), 3 * texts[0].samples.size());
}

TEST_F(EspeakSpeechServiceTest, EachPauseEndsWithIdleStartedAndTheNextRequestReportsItsEnd) {
    Said(kShortText);
    Said(kShortText);
    EXPECT_EQ(sink_.Lines(),
              (std::vector<std::string>{IdleEnded(), IdleStarted(), IdleEnded(), IdleStarted()}));
}

TEST_F(EspeakSpeechServiceTest, ShowingAndHidingAreNoActivityThatEndsAPause) {
    Said(kShortText);
    service_->Hide(character_);
    const std::string hidden = "Visible(" + std::to_string(character_) + ",hidden)";
    ASSERT_TRUE(sink_.WaitFor(hidden));
    service_->Show(character_);
    Said(kShortText);

    EXPECT_EQ(sink_.Lines(),
              (std::vector<std::string>{IdleEnded(), IdleStarted(), hidden,
                                        "Visible(" + std::to_string(character_) + ",shown)",
                                        IdleEnded(), IdleStarted()}));
}

TEST_F(EspeakSpeechServiceTest, OneAlternativeIsSpokenAsIfItWereTheWholeText) {
    struct Case {
        std::string text;
        std::size_t choice;
        std::string alone;
        std::vector<std::size_t> asked;
    };
    const std::vector<Case> cases = {
        {"Eins.|Zwei und drei.", 0, "Eins.", {2}},
        {"Eins.|Zwei und drei.", 1, "Zwei und drei.", {2}},
        {"Eins.|Zwei.|Vier und fünf.", 2, "Vier und fünf.", {3}},
        {"Kein Strich.", 0, "Kein Strich.", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " choice " + std::to_string(c.choice));
        choice_ = c.choice;
        asked_.clear();
        const auto chosen = Said(c.text);
        EXPECT_EQ(asked_, c.asked);
        EXPECT_TRUE(AboutAsLong(chosen, Said(c.alone)));
    }
}

TEST_F(EspeakSpeechServiceTest, StopDropsTheStoppedRequestOnly) {
    output_->CloseGate();
    service_->Speak(character_, kShortText);
    ASSERT_TRUE(output_->WaitUntilWriting());
    const int long_text = service_->Speak(character_, kLongText);
    service_->Speak(character_, "Drei.");
    EXPECT_NE(service_->Stop(character_, long_text), long_text);
    output_->OpenGate();
    WaitUntilIdle();

    const auto texts = output_->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_FALSE(texts[0].discarded);
    EXPECT_TRUE(AboutAsLong(texts[1].samples, Said("Drei.")));
}

TEST_F(EspeakSpeechServiceTest, StopAllEndsTheRunningTextAndDropsTheQueuedOnes) {
    output_->CloseGate();
    service_->Speak(character_, kLongText);
    ASSERT_TRUE(output_->WaitUntilWriting());
    service_->Speak(character_, kShortText);
    service_->StopAll(character_);
    output_->OpenGate();
    WaitUntilIdle();

    auto texts = output_->Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].discarded);
    // The character speaks again afterwards.
    EXPECT_FALSE(Said(kShortText).empty());
    texts = output_->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_FALSE(texts[1].discarded);
}

// Zero crossings per sample: higher for a higher voice.
double CrossingRate(const std::vector<std::int16_t>& samples) {
    std::size_t crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        crossings += (samples[i - 1] < 0) != (samples[i] < 0) ? 1 : 0;
    }
    return samples.empty() ? 0
                           : static_cast<double>(crossings) / static_cast<double>(samples.size());
}

TEST_F(EspeakSpeechServiceTest, LanguageAndVoiceModeChangeTheVoice) {
    // A year is a long word in German and a short one in English.
    constexpr const char* kYear = "1997";
    const auto german = Said(kYear);
    service_->SetVoice(character_, "{f3}");
    const auto german_female = Said(kYear);
    service_->SetLanguage(character_, kSpeechLanguageEnglish);
    const auto english_female = Said(kYear);
    service_->SetLanguage(character_, kSpeechLanguageGerman);
    const auto german_again = Said(kYear);

    EXPECT_GT(CrossingRate(german_female), 1.2 * CrossingRate(german));
    EXPECT_LT(static_cast<double>(english_female.size()),
              0.85 * static_cast<double>(german_female.size()));
    EXPECT_TRUE(AboutAsLong(german_again, german_female));
    const auto modes = service_->VoiceModes();
    EXPECT_NE(std::find(modes.begin(), modes.end(), VoiceVariant{"f3", "female3"}), modes.end());
}

TEST_F(EspeakSpeechServiceTest, RequestsItCannotCarryOutThrow) {
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"unknown voice mode", [&] { service_->SetVoice(character_, "{no such voice}"); }},
        {"language without a voice", [&] { service_->SetLanguage(character_, 3); }},
        {"unknown character", [&] { service_->Speak(character_ + 1, kShortText); }},
        {"unknown sink", [&] { service_->UnregisterSink(registration_ + 1); }},
        {"no chooser",
         [&] {
             service_->ShowCharacterChooser({0, 0}, true);
         }},
        {"no settings window", [&] { service_->ShowSettingsPage("Output"); }},
    };
    for (const auto& [name, request] : cases) {
        SCOPED_TRACE(name);
        EXPECT_THROW(request(), SpeechError);
    }
}

TEST_F(EspeakSpeechServiceTest, AnUnregisteredSinkHearsNothingMore) {
    RecordingSink second;
    service_->RegisterSink(&second);
    service_->UnregisterSink(registration_);
    service_->Speak(character_, kShortText);
    ASSERT_TRUE(second.WaitFor(IdleStarted()));
    EXPECT_EQ(sink_.Lines(), std::vector<std::string>{});
    service_->Disconnect();
}

TEST_F(EspeakSpeechServiceTest, CharacterKeepsItsPlaceAndSize) {
    EXPECT_EQ(service_->OriginalSize(character_), EspeakSpeechService::kCharacterSize);
    service_->SetPosition(character_, {886, 500});
    EXPECT_EQ(service_->Position(character_), (ScreenPoint{886, 500}));
}

TEST_F(EspeakSpeechServiceTest, DisconnectEndsTheSpeechAndLaterRequestsFail) {
    output_->CloseGate();
    for (int i = 0; i < 5; ++i) {
        service_->Speak(character_, kLongText);
    }
    ASSERT_TRUE(output_->WaitUntilWriting());
    // The first text goes on only once the disconnect has begun.
    std::thread opener([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        output_->OpenGate();
    });
    service_->Disconnect();
    opener.join();
    auto texts = output_->Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].discarded);
    EXPECT_THROW(service_->Speak(character_, kShortText), SpeechError);

    // A new connection speaks again.
    ASSERT_TRUE(service_->Connect());
    character_ = service_->LoadCharacter("");
    service_->RegisterSink(&sink_);
    idle_reports_ = 0;
    EXPECT_FALSE(Said(kShortText).empty());
}

TEST_F(EspeakSpeechServiceTest, UnloadedCharacterSaysNothingOfWhatWasQueued) {
    output_->CloseGate();
    service_->Speak(character_, kLongText);
    ASSERT_TRUE(output_->WaitUntilWriting());
    service_->Speak(character_, kLongText);
    service_->UnloadCharacter(character_);
    output_->OpenGate();
    EXPECT_THROW(service_->Show(character_), SpeechError);

    const int next = service_->LoadCharacter("");
    service_->Speak(next, kShortText);
    ASSERT_TRUE(sink_.WaitFor("Idle(" + std::to_string(next) + ",started)"));
    const auto texts = output_->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].discarded);
}

}  // namespace
}  // namespace planwarte
