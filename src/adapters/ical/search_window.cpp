#include "adapters/ical/search_window.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "core/common/parse_date_time.h"

namespace planwarte {

namespace {

enum class Domain { Time, Flag, Importance, RecurrenceState, Other };

Domain DomainOf(const std::string& written) {
    std::string key;
    for (char c : written) {
        if (c != '[' && c != ']') {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    if (key == "start" || key == "end" || key == "duedate") {
        return Domain::Time;
    }
    if (key == "alldayevent" || key == "isrecurring" || key == "reminderset" || key == "complete") {
        return Domain::Flag;
    }
    if (key == "importance") {
        return Domain::Importance;
    }
    if (key == "recurrencestate") {
        return Domain::RecurrenceState;
    }
    return Domain::Other;
}

int DomainSize(Domain domain) {
    switch (domain) {
        case Domain::Flag:
            return 2;
        case Domain::Importance:
            return 3;
        case Domain::RecurrenceState:
            return 4;
        default:
            return 1;
    }
}

Variant DomainValue(Domain domain, int index) {
    if (domain == Domain::Flag) {
        return index != 0;
    }
    return static_cast<std::int32_t>(index);
}

// Stand-in items of every combination of the enumerable properties.
constexpr int kMaxCombinations = 256;

}  // namespace

std::optional<std::vector<DateTime>> DateLiterals(const std::string& text) {
    std::vector<DateTime> dates;
    std::size_t pos = 0;
    while ((pos = text.find('\'', pos)) != std::string::npos) {
        std::string content;
        ++pos;
        while (pos < text.size()) {
            if (text[pos] == '\'') {
                if (pos + 1 < text.size() && text[pos + 1] == '\'') {
                    content += '\'';
                    pos += 2;
                    continue;
                }
                break;
            }
            content += text[pos++];
        }
        ++pos;  // past the closing quote
        if (content.size() >= 2 && content.front() == '#' && content.back() == '#') {
            const std::optional<DateTime> date =
                ParseShortDateTime(content.substr(1, content.size() - 2));
            if (!date) {
                return std::nullopt;
            }
            dates.push_back(*date);
        }
    }
    return dates;
}

SearchWindow WindowOf(const ItemFilter& filter) {
    SearchWindow window;
    const std::optional<std::vector<DateTime>> dates = DateLiterals(filter.FilterText());
    if (!dates || dates->empty()) {
        return window;
    }
    const auto [earliest, latest] = std::minmax_element(dates->begin(), dates->end());
    window.latest = *latest;
    // A literal covers at most its day; a day more on each side leaves room for rounding.
    const DateTime from(earliest->value - 1.0);
    const DateTime to(latest->value + 2.0);

    // Which properties the filter asks for; the evaluator asks for every one it names.
    std::vector<std::pair<std::string, Domain>> asked;
    bool other = false;
    try {
        filter.Matches([&](const std::string& name) -> std::optional<Variant> {
            const Domain domain = DomainOf(name);
            other = other || domain == Domain::Other;
            if (std::none_of(asked.begin(), asked.end(),
                             [&](const auto& entry) { return entry.first == name; })) {
                asked.emplace_back(name, domain);
            }
            switch (domain) {
                case Domain::Time:
                    return from;
                case Domain::Flag:
                    return false;
                case Domain::Importance:
                case Domain::RecurrenceState:
                    return static_cast<std::int32_t>(0);
                case Domain::Other:
                    return std::string();
            }
            return std::nullopt;
        });
    } catch (const ItemFilterError&) {
        return window;  // the items themselves say what is wrong with it
    }
    if (other) {
        return window;  // a text or another value the stand-ins cannot range over
    }
    int combinations = 1;
    for (const auto& entry : asked) {
        combinations *= DomainSize(entry.second);
        if (combinations > kMaxCombinations) {
            return window;
        }
    }
    for (const DateTime outside : {DateTime(from.value - 1.0), to}) {
        for (int combination = 0; combination < combinations; ++combination) {
            const bool matches =
                filter.Matches([&](const std::string& name) -> std::optional<Variant> {
                    int rest = combination;
                    for (const auto& [asked_name, domain] : asked) {
                        const int size = DomainSize(domain);
                        if (asked_name == name) {
                            return domain == Domain::Time ? Variant(outside)
                                                          : DomainValue(domain, rest % size);
                        }
                        rest /= size;
                    }
                    return std::nullopt;
                });
            if (matches) {
                return window;
            }
        }
    }
    window.bounded = true;
    window.from = from;
    window.to = to;
    return window;
}

}  // namespace planwarte
