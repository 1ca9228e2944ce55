#include "adapters/maildir/mail_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace planwarte {
namespace {

struct ReaderCase {
    const char* name;
    std::string message;
    std::string subject;
    std::string body;
};

class MailReaderCases : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(MailReaderCases, ReadsSubjectAndBodyAsUtf8) {
    const ReaderCase& c = GetParam();
    const std::optional<MailContents> mail = ReadMail(c.message);
    ASSERT_TRUE(mail.has_value());
    EXPECT_EQ(mail->subject, c.subject);
    EXPECT_EQ(mail->body, c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MailReaderCases,
    ::testing::Values(
        ReaderCase{"plain", "Subject: Hallo\r\n\r\nEine Zeile.\r\n", "Hallo", "Eine Zeile.\r\n"},
        ReaderCase{"lf_line_ends", "Subject: Hallo\n\nEine Zeile.\n", "Hallo", "Eine Zeile.\n"},
        ReaderCase{"encoded_word_q_utf8",
                   "Subject: =?UTF-8?Q?Gr=C3=BC=C3=9Fe_aus_M=C3=BCnchen?=\n\nx\n",
                   "Grüße aus München", "x\n"},
        ReaderCase{"encoded_word_b_latin1", "Subject: =?ISO-8859-1?B?S/ZsbiB1bmQgQm9ubg==?=\n\nx\n",
                   "Köln und Bonn", "x\n"},
        ReaderCase{"folded_subject_with_two_words",
                   "Subject: =?UTF-8?Q?F=C3=BCr?=\n =?UTF-8?Q?_heute?=\n\nx\n", "Für heute", "x\n"},
        ReaderCase{"quoted_printable_utf8",
                   "Subject: qp\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\n"
                   "Content-Transfer-Encoding: quoted-printable\n\n"
                   "Sch=C3=B6ne Gr=C3=BC=C3=9Fe, eine lange Zeile, die wei=\nter geht.\n",
                   "qp", "Schöne Grüße, eine lange Zeile, die weiter geht.\n"},
        ReaderCase{"base64_latin1",
                   "Subject: b64\nMIME-Version: 1.0\nContent-Type: text/plain; charset=iso-8859-1\n"
                   "Content-Transfer-Encoding: base64\n\nR3L832U=\n",
                   "b64", "Grüße"},
        ReaderCase{"eight_bit_without_charset_is_windows_1252",
                   "Subject: 8bit\n\nPreis: 5 \x80, Gr\xfc\xdf"
                   "e\n",
                   "8bit", "Preis: 5 €, Grüße\n"},
        ReaderCase{"raw_latin1_subject", "Subject: M\xfcller\n\nx\n", "Müller", "x\n"},
        ReaderCase{"alternative_prefers_plain",
                   "Subject: alt\nMIME-Version: 1.0\n"
                   "Content-Type: multipart/alternative; boundary=\"b\"\n\n"
                   "--b\nContent-Type: text/html; charset=utf-8\n\n<p>HTML</p>\n"
                   "--b\nContent-Type: text/plain; charset=utf-8\n\nText\n--b--\n",
                   "alt", "Text"},
        ReaderCase{"html_only_gives_its_text",
                   "Subject: html\nMIME-Version: 1.0\nContent-Type: text/html; charset=utf-8\n\n"
                   "<html><head><style>p{}</style></head><body><p>Gr&uuml;&szlig;e &amp; "
                   "mehr</p><p>Zweite</p></body></html>\n",
                   "html", "Grüße & mehr\nZweite"},
        ReaderCase{"attachment_is_not_the_body",
                   "Subject: att\nMIME-Version: 1.0\n"
                   "Content-Type: multipart/mixed; boundary=\"b\"\n\n"
                   "--b\nContent-Type: text/plain\nContent-Disposition: attachment; "
                   "filename=a.txt\n\nAnhang\n"
                   "--b\nContent-Type: text/plain\n\nNachricht\n--b--\n",
                   "att", "Nachricht"},
        ReaderCase{"no_text_part", "Subject: bin\nContent-Type: image/png\n\n\x89PNG\n", "bin",
                   ""}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(MailReader, AnswersNothingForWhatIsNoMail) {
    EXPECT_FALSE(ReadMail("").has_value());
    EXPECT_FALSE(ReadMail("just some words without any header\n").has_value());
}

TEST(MailReader, ReadsTheDateHeaderAsUtcSeconds) {
    const auto dated = ReadMail("Date: Thu, 10 Dec 2026 14:30:00 +0100\nSubject: d\n\nx\n");
    ASSERT_TRUE(dated.has_value());
    ASSERT_TRUE(dated->date.has_value());
    EXPECT_EQ(*dated->date, 1'796'909'400);  // 2026-12-10 13:30:00 UTC

    const auto undated = ReadMail("Subject: d\n\nx\n");
    ASSERT_TRUE(undated.has_value());
    EXPECT_FALSE(undated->date.has_value());

    const auto garbled = ReadMail("Date: irgendwann\nSubject: d\n\nx\n");
    ASSERT_TRUE(garbled.has_value());
    EXPECT_FALSE(garbled->date.has_value());
}

}  // namespace
}  // namespace planwarte
