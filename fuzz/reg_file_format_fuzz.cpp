// Feeds arbitrary bytes to the settings file parser. Besides not crashing, whatever parses must
// come out of the writer in a form that parses again to the same file: the program rewrites
// the user's file on every change, so a lossy or unstable round trip would corrupt settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "adapters/regfile/reg_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const planwarte::RegParseResult first = planwarte::ParseRegFile(bytes);
    if (!first.document) {
        return 0;
    }
    const std::string written = planwarte::FormatRegFile(*first.document);
    const planwarte::RegParseResult second = planwarte::ParseRegFile(written);
    if (!second.document || planwarte::FormatRegFile(*second.document) != written) {
        std::abort();
    }
    return 0;
}
