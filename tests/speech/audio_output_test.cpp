// Where the speech goes: a WAV file, nothing, or the sound device of a machine that may have
// none.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "adapters/speech/audio_output_choice.h"
#include "adapters/speech/espeak_speech_service.h"
#include "adapters/speech/sound_device_output.h"
#include "adapters/speech/wav_file_output.h"
#include "common/temp_folder.h"
#include "speech/speech_test_support.h"

namespace planwarte {
namespace {

using testing_support::RecordingSink;
using testing_support::Slurp;
using testing_support::TempFolder;

std::uint32_t LittleEndianAt(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

TEST(WavFileOutputTest, SpokenTextsMakeOnePlayableFileOfPcmSamples) {
    TempFolder folder;
    const std::string path = folder / "speech.wav";
    RecordingSink sink;
    EspeakSpeechService service(
        {.output = ChooseAudioOutput(path, [](const std::string&) {}), .desktop = {}});
    ASSERT_TRUE(service.Connect());
    const int character = service.LoadCharacter("");
    service.RegisterSink(&sink);

    service.Speak(character, "Guten Tag.");
    ASSERT_TRUE(sink.WaitFor("Idle(" + std::to_string(character) + ",started)"));
    const std::size_t first_size = Slurp(path).size();
    service.Speak(character, "Es ist zwölf Uhr.");
    ASSERT_TRUE(sink.WaitFor("Idle(" + std::to_string(character) + ",started)", 2));

    // Read while the service still runs: the header already counts both texts.
    const std::string wav = Slurp(path);
    ASSERT_GT(wav.size(), first_size);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(LittleEndianAt(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LittleEndianAt(wav, 20, 2), 1u);  // PCM
    EXPECT_EQ(LittleEndianAt(wav, 22, 2), 1u);  // mono
    EXPECT_EQ(LittleEndianAt(wav, 24, 4), 22050u);
    EXPECT_EQ(LittleEndianAt(wav, 34, 2), 16u);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(LittleEndianAt(wav, 40, 4), wav.size() - 44);
    std::size_t loud = 0;
    for (std::size_t at = 44; at + 1 < wav.size(); at += 2) {
        const auto sample = static_cast<std::int16_t>(LittleEndianAt(wav, at, 2));
        loud += (sample > 1000 || sample < -1000) ? 1 : 0;
    }
    EXPECT_GT(loud, 1000u);
}

TEST(AudioOutputChoiceTest, TheChoiceNamesTheOutput) {
    TempFolder folder;
    const auto trace = [](const std::string&) {};
    EXPECT_NE(dynamic_cast<SoundDeviceOutput*>(ChooseAudioOutput("", trace).get()), nullptr);
    EXPECT_NE(dynamic_cast<SilentOutput*>(ChooseAudioOutput("none", trace).get()), nullptr);
    EXPECT_NE(dynamic_cast<WavFileOutput*>(ChooseAudioOutput(folder / "a.wav", trace).get()),
              nullptr);
    EXPECT_THROW(ChooseAudioOutput(folder / "missing/a.wav", trace), std::runtime_error);
}

// On a machine without a sound device (as where the tests run) the output speaks into
// nothing and says so once; on one with a device it plays a moment of silence.
TEST(SoundDeviceOutputTest, AMissingDeviceIsTracedOnceAndNeverBlocks) {
    std::vector<std::string> traced;
    SoundDeviceOutput output([&traced](const std::string& line) { traced.push_back(line); });
    const std::vector<std::int16_t> silence(2205, 0);
    for (int i = 0; i < 3; ++i) {
        output.Write(silence.data(), silence.size(), 22050);
        output.Finish();
    }
    output.Discard();
    EXPECT_LE(traced.size(), 1u) << ::testing::PrintToString(traced);
}

}  // namespace
}  // namespace planwarte
