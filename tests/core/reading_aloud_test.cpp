#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "assistant_world.h"
#include "core/assistant/aloud_reader.h"
#include "core/assistant/reading_chunks.h"
#include "core/outlook/outlook_session.h"

namespace planwarte {
namespace {

using testing_support::AssistantWorld;
using End = ReadingChunk::End;
using Lines = std::vector<std::string>;

std::string Repeated(const std::string& piece, std::size_t length) {
    std::string text;
    while (text.size() < length) {
        text += piece;
    }
    return text.substr(0, length);
}

std::vector<std::string> Texts(const std::vector<ReadingChunk>& chunks) {
    std::vector<std::string> texts;
    for (const ReadingChunk& chunk : chunks) {
        texts.push_back(chunk.text);
    }
    return texts;
}

TEST(ReadingChunksTest, ShortTextGoesWholeAndLongTextInWholeLines) {
    const std::string short_text = Repeated("abc ", 300);
    EXPECT_EQ(Texts(ReadingChunks(short_text)), Lines{short_text});
    EXPECT_TRUE(ReadingChunks("").empty());

    // One line of 1000 characters: over the limit at once, one request.
    const std::string one_line = Repeated("abcdefghij", 1000);
    const auto long_line = ReadingChunks(one_line);
    ASSERT_EQ(long_line.size(), 1u);
    EXPECT_EQ(long_line[0].text, one_line + " ");
    EXPECT_EQ(long_line[0].end, End::Length);
}

TEST(ReadingChunksTest, SentenceMarksEndChunksFromTheFourthCharacterOn) {
    // Short sentences, one per line; "Ja." is too short for its mark to count.
    std::string text;
    for (int n = 0; text.size() <= 600; ++n) {
        text += "Das ist der Satz Nummer " + std::to_string(n) + ".\r\n";
        if (n == 3) {
            text += "Ja.\n";
        }
    }
    const auto chunks = ReadingChunks(text);
    // Line 3's chunk is handed over at its own mark; "Ja. " starts the next chunk and stays
    // in it until line 4 brings a mark past the third character.
    Lines texts = Texts(chunks);
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(texts[3], "Das ist der Satz Nummer 3. ");
    EXPECT_EQ(texts[4], "Ja. Das ist der Satz Nummer 4. ");
    EXPECT_EQ(chunks[4].end, End::SentenceMark);
    // The trailing empty line of the text adds a lone blank as the last chunk.
    EXPECT_EQ(chunks.back().text, " ");
    EXPECT_EQ(chunks.back().end, End::LastLine);
}

TEST(ReadingChunksTest, QuestionAndExclamationMarksCountAndLinesWithoutMarksGather) {
    const std::string filler = Repeated("Wort ", 590);
    const std::string text = filler + "\nWirklich? Ja\nSo! Und\nohne Zeichen";
    const Lines texts = Texts(ReadingChunks(text));
    EXPECT_EQ(texts, (Lines{filler + " ",  // over 500 characters
                            "Wirklich? Ja ",
                            // The mark at position 3 does not count: the lines gather.
                            "So! Und ohne Zeichen "}));
}

class FakeClipboard : public ClipboardText {
  public:
    std::optional<std::string> PlainText() override { return text; }
    std::optional<std::string> text;
};

class AloudReaderTest : public ::testing::Test {
  protected:
    AloudReaderTest() { world_.speech.finishes_at_once = true; }

    std::vector<std::string> Said() const {
        std::vector<std::string> said;
        for (const std::string& request : world_.speech.Performance()) {
            if (request.rfind("Speak(", 0) == 0) {
                said.push_back(request.substr(6, request.size() - 7));
            }
        }
        return said;
    }

    AssistantWorld world_;
    AloudReader reader_{world_.Host(), world_.fakes.loop,
                        [this](const std::string& text) { world_.traces.push_back(text); }};
};

TEST_F(AloudReaderTest, ClipboardReadingStartsTheSwitchedOffAssistantAndForcesIt) {
    world_.SetInteger("CharacterUsed", 0);
    FakeClipboard clipboard;
    clipboard.text = "Bitte Milch kaufen.";
    reader_.ReadClipboard(&clipboard);
    EXPECT_EQ(Said(), Lines{"Bitte Milch kaufen."});
    EXPECT_TRUE(world_.Host().Force());
    EXPECT_TRUE(reader_.MenuEntries().read_clipboard_enabled);
    const Lines performance = world_.speech.Performance();
    ASSERT_GE(performance.size(), 3u);
    EXPECT_EQ(performance.back(), "Play(ReadReturn)");
}

TEST_F(AloudReaderTest, EmptyClipboardTextIsSaidSoAndAClipboardWithoutTextSaysNothing) {
    FakeClipboard clipboard;
    clipboard.text = "";
    reader_.ReadClipboard(&clipboard);
    EXPECT_EQ(Said(), Lines{"Hmmm,ich soll die Zwischenablage vorlesen? Ich habe dort aber leider "
                            "keinen Text gefunden!"});
    world_.speech.ClearLog();
    clipboard.text.reset();
    reader_.ReadClipboard(&clipboard);
    EXPECT_TRUE(Said().empty());
}

TEST_F(AloudReaderTest, OpenMailIsReadSubjectFirstAnEmptyBodyIsSaidSo) {
    auto inbox = world_.fakes.outlook->DefaultFolder(kDefaultFolderInbox);
    auto mail = inbox->AddMail({.subject = "Einladung", .body = ""});
    OutlookSession session(
        world_.fakes.outlook_factory.CreateApplication(), world_.fakes.notice,
        {.progress_step = nullptr, .trace = nullptr, .close_main_window = nullptr});
    session.ConnectOutlook();
    EXPECT_FALSE(reader_.CheckOpenMail(session));  // no window open
    world_.fakes.outlook->OpenInspector(mail);
    EXPECT_TRUE(reader_.CheckOpenMail(session));
    EXPECT_EQ(reader_.MenuEntries().read_open_item_caption,
              "Vorlesen des geöffneten Outlookeintrags");
    reader_.ReadOpenMail(session);
    EXPECT_EQ(Said(), (Lines{"Einladung", "Ohh, kein Text vorhanden?"}));

    world_.fakes.outlook->State().FailCall("ActiveInspector", 1, "weg");
    EXPECT_FALSE(reader_.CheckOpenMail(session));
    ASSERT_FALSE(world_.traces.empty());
    EXPECT_EQ(world_.traces.back(), "_25_ActiveInspector: weg");
}

TEST_F(AloudReaderTest, WithoutAssistantNothingIsReadAndTheEntriesComeBack) {
    world_.speech.service_present = false;
    reader_.ReadText("Hallo");
    EXPECT_TRUE(Said().empty());
    EXPECT_TRUE(reader_.MenuEntries().read_clipboard_enabled);
    EXPECT_TRUE(reader_.MenuEntries().read_open_item_enabled);
}

TEST_F(AloudReaderTest, HiddenCharacterEndsTheWaitsButEveryChunkIsStillHandedOver) {
    world_.speech.finishes_at_once = false;
    std::string text;
    for (int n = 0; n < 40; ++n) {
        text += "Dies ist Satz " + std::to_string(n) + ".\n";
    }
    // The first look of the first wait finds the character hidden by the user.
    world_.fakes.loop.Post([this] { world_.speech.NotifyHidden(); });
    reader_.ReadText(text);
    EXPECT_EQ(Said().size(), ReadingChunks(text).size());
    EXPECT_TRUE(world_.Host().Stopped());
}

}  // namespace
}  // namespace planwarte
