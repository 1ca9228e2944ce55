#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reads one mail message (RFC 5322 with MIME) into the few things the inbox shows.
namespace planwarte {

struct MailContents {
    std::string subject;  // encoded words decoded, UTF-8
    std::string body;     // the plain text, UTF-8; the text of the HTML part when there is none
    std::optional<std::int64_t> date;  // the Date header as seconds since 1970 (UTC)
};

// Nullopt when the bytes are no mail message at all (empty, or without a single header).
std::optional<MailContents> ReadMail(std::string_view bytes);

}  // namespace planwarte
