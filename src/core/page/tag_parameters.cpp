#include <charconv>

#include "core/page/template_expander.h"
#include "core/settings/key_names.h"

namespace planwarte {

std::string TagParameters::Value(std::string_view name) const {
    // Only "name=value" entries have a name; a bare word is no parameter of that name.
    for (const std::string& entry : entries_) {
        const std::size_t equals = entry.find('=');
        if (equals != std::string::npos &&
            SameName(std::string_view(entry).substr(0, equals), name)) {
            return entry.substr(equals + 1);
        }
    }
    return {};
}

int TagParameters::IntegerValue(std::string_view name, int fallback) const {
    const std::string text = Value(name);
    std::string_view digits = text;
    if (digits.starts_with('+')) {
        digits.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return fallback;
    }
    return value;
}

}  // namespace planwarte
