#include "adapters/maildir/maildir_file_name.h"

namespace planwarte {

MaildirFileName SplitMaildirFileName(std::string_view file_name) {
    const std::size_t info = file_name.rfind(":2,");
    if (info == std::string_view::npos) {
        return {std::string(file_name), {}};
    }
    return {std::string(file_name.substr(0, info)), std::string(file_name.substr(info + 3))};
}

std::string UppercaseHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += kDigits[value >> 4];
        hex += kDigits[value & 0x0F];
    }
    return hex;
}

}  // namespace planwarte
