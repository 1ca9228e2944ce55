#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace planwarte {

// The text of a settings file as UTF-8. Exports made on Windows come as UTF-16LE with a
// byte-order mark (version 5) or in the Windows-1252 code page (REGEDIT4); both are converted,
// so such a file can be used as it is. A UTF-8 byte-order mark is dropped. Empty when the
// bytes claim UTF-16 but are cut off in the middle of a character unit.
std::optional<std::string> DecodeRegFileText(std::string_view bytes);

}  // namespace planwarte
