// Feeds arbitrary bytes to the mail reader that reads each file of the Maildir inbox, and the
// body of an HTML-only mail to the HTML text extractor: no input may crash them, and every
// text they give must be valid UTF-8, as the rest of the program takes it to be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "adapters/maildir/html_to_text.h"
#include "adapters/maildir/mail_reader.h"

namespace {

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80         ? 1
                                   : (byte >> 5) == 6  ? 2
                                   : (byte >> 4) == 14 ? 3
                                   : (byte >> 3) == 30 ? 4
                                                       : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto mail = planwarte::ReadMail(bytes)) {
        if (!IsUtf8(mail->subject) || !IsUtf8(mail->body)) {
            std::abort();
        }
    }
    if (IsUtf8(bytes) && !IsUtf8(planwarte::TextOfHtml(bytes))) {
        std::abort();
    }
    return 0;
}
