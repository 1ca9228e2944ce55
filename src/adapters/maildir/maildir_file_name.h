#pragma once

#include <string>
#include <string_view>

namespace planwarte {

// A file name in a Maildir's new/ or cur/ folder: "<unique name>:2,<flags>", or only the
// unique name for mail that no client has seen yet.
struct MaildirFileName {
    std::string unique_name;
    std::string flags;  // the letters after ":2,"; empty without them
};

MaildirFileName SplitMaildirFileName(std::string_view file_name);

// The bytes as uppercase hexadecimal digits, two per byte.
std::string UppercaseHex(std::string_view bytes);

}  // namespace planwarte
