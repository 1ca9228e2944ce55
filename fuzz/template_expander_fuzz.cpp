// Feeds arbitrary template text to the tag scanner. Templates are user files, so no input may
// crash it; and a handler's answer must reach the page unchanged, never scanned again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/page/template_expander.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::string page = planwarte::ExpandTemplateText(
            text, [](const std::string&, const planwarte::TagParameters& parameters) {
                parameters.IntegerValue("DATEOFFSET", 0);
                return std::string("<#ANSWER>");
            });
        // Without tags the text comes out as it went in, but for the blanks after a "<".
        if (text.find('<') == std::string_view::npos && page != text) {
            std::abort();
        }
    } catch (const planwarte::TemplateError&) {
        // A line too long to read is reported, which is fine.
    }
    return 0;
}
