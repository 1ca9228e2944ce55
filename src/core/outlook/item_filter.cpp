#include "core/outlook/item_filter.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <compare>
#include <utility>

#include "core/common/parse_date_time.h"

namespace planwarte {

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kMsPerMinute = 60 * kMsPerSecond;
constexpr std::int64_t kMsPerDay = 24 * 60 * kMsPerMinute;

using Node = ItemFilter::Node;
using Op = ItemFilter::Op;

// Values before the epoch keep their time fraction counting forward from their negative
// day, so the integer and fractional parts are put on the line separately.
std::int64_t TimelineMs(DateTime value) {
    double whole = 0.0;
    const double fraction = std::modf(value.value, &whole);
    return std::llround(whole * kMsPerDay) + std::llround(std::fabs(fraction) * kMsPerDay);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}
char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string FoldCase(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        c = Lower(c);
    }
    return folded;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return FoldCase(a) == FoldCase(b);
}

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsSpace(text[first])) {
        ++first;
    }
    while (last > first && IsSpace(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

bool Holds(Op op, std::partial_ordering order) {
    switch (op) {
        case Op::Equal:
            return order == 0;
        case Op::NotEqual:
            return order != 0;
        case Op::Less:
            return order < 0;
        case Op::LessEqual:
            return order <= 0;
        case Op::Greater:
            return order > 0;
        case Op::GreaterEqual:
            return order >= 0;
    }
    return false;
}

bool HoldsForSpan(Op op, std::int64_t value_ms, const ItemFilter::DateSpan& span) {
    const std::int64_t end_ms = span.first_ms + span.length_ms;
    switch (op) {
        case Op::Equal:
            return value_ms >= span.first_ms && value_ms < end_ms;
        case Op::NotEqual:
            return value_ms < span.first_ms || value_ms >= end_ms;
        case Op::Less:
            return value_ms < span.first_ms;
        case Op::LessEqual:
            return value_ms < end_ms;
        case Op::Greater:
            return value_ms >= end_ms;
        case Op::GreaterEqual:
            return value_ms >= span.first_ms;
    }
    return false;
}

class FilterParser {
  public:
    FilterParser(const std::string& text, const FormatSettings& settings)
        : text_(text), settings_(settings) {}

    Node ParseWhole() {
        SkipSpace();
        if (AtEnd()) {
            Fail("the filter is empty");
        }
        Node root = ParseOr();
        SkipSpace();
        if (!AtEnd()) {
            Fail("expected AND, OR or the end of the filter");
        }
        return root;
    }

  private:
    [[noreturn]] void Fail(const std::string& reason) { FailAt(pos_, reason); }
    [[noreturn]] void FailAt(std::size_t position, const std::string& reason) {
        throw ItemFilterError(text_, position, reason);
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    void SkipSpace() {
        while (!AtEnd() && IsSpace(text_[pos_])) {
            ++pos_;
        }
    }

    // Consumes the keyword when it stands next, as a whole word in any case.
    bool TakeKeyword(const std::string& word) {
        const std::size_t saved = pos_;
        SkipSpace();
        if (pos_ + word.size() <= text_.size() &&
            EqualsIgnoringCase(text_.substr(pos_, word.size()), word) &&
            (pos_ + word.size() == text_.size() || !IsWordChar(text_[pos_ + word.size()]))) {
            pos_ += word.size();
            return true;
        }
        pos_ = saved;
        return false;
    }

    Node ParseOr() { return ParseChain(Node::Kind::Or, "OR", &FilterParser::ParseAnd); }
    Node ParseAnd() { return ParseChain(Node::Kind::And, "AND", &FilterParser::ParseFactor); }

    Node ParseChain(Node::Kind kind, const std::string& keyword, Node (FilterParser::*operand)()) {
        Node first = (this->*operand)();
        if (!TakeKeyword(keyword)) {
            return first;
        }
        Node chain;
        chain.kind = kind;
        chain.children.push_back(std::move(first));
        do {
            chain.children.push_back((this->*operand)());
        } while (TakeKeyword(keyword));
        return chain;
    }

    Node ParseFactor() {
        SkipSpace();
        if (Peek() == '(') {
            ++pos_;
            Node inner = ParseOr();
            SkipSpace();
            if (Peek() != ')') {
                Fail("expected ')'");
            }
            ++pos_;
            return inner;
        }
        if (Peek() == '[') {
            Node node;
            node.kind = Node::Kind::Compare;
            node.comparison = ParseComparison();
            return node;
        }
        Fail("expected '[' or '('");
    }

    ItemFilter::Comparison ParseComparison() {
        ItemFilter::Comparison comparison;
        comparison.position = pos_;
        const std::size_t close = text_.find(']', pos_);
        if (close == std::string::npos) {
            Fail("the property name has no closing ']'");
        }
        comparison.property = text_.substr(pos_ + 1, close - pos_ - 1);
        if (Trim(comparison.property).empty()) {
            Fail("the property name is empty");
        }
        pos_ = close + 1;
        SkipSpace();
        const std::size_t op_position = pos_;
        comparison.op = ParseOperator();
        SkipSpace();
        comparison.literal = ParseLiteral();
        if (std::holds_alternative<bool>(comparison.literal) && comparison.op != Op::Equal &&
            comparison.op != Op::NotEqual) {
            FailAt(op_position, "True and False can only be compared with = or <>");
        }
        return comparison;
    }

    Op ParseOperator() {
        const std::string rest = text_.substr(pos_, 2);
        struct Spelling {
            const char* text;
            Op op;
        };
        // Two-character operators first, so that "<=" is not read as "<".
        static constexpr Spelling kSpellings[] = {{"<>", Op::NotEqual},     {"<=", Op::LessEqual},
                                                  {">=", Op::GreaterEqual}, {"=", Op::Equal},
                                                  {"<", Op::Less},          {">", Op::Greater}};
        for (const Spelling& spelling : kSpellings) {
            const std::string candidate = spelling.text;
            if (rest.compare(0, candidate.size(), candidate) == 0) {
                pos_ += candidate.size();
                return spelling.op;
            }
        }
        Fail("expected one of = <> < <= > >=");
    }

    ItemFilter::Literal ParseLiteral() {
        const char c = Peek();
        if (c == '\'') {
            return ParseQuoted();
        }
        if (IsDigit(c) || c == '-' || c == '.') {
            return ParseNumber();
        }
        const std::size_t start = pos_;
        while (!AtEnd() && IsWordChar(text_[pos_])) {
            ++pos_;
        }
        const std::string word = text_.substr(start, pos_ - start);
        if (EqualsIgnoringCase(word, "true")) {
            return true;
        }
        if (EqualsIgnoringCase(word, "false")) {
            return false;
        }
        FailAt(start, "expected a value: a quoted text or date, a number, True or False");
    }

    ItemFilter::Literal ParseQuoted() {
        const std::size_t open = pos_;
        ++pos_;
        std::string content;
        for (;;) {
            if (AtEnd()) {
                FailAt(open, "the quoted value has no closing quote");
            }
            const char c = text_[pos_++];
            if (c != '\'') {
                content += c;
            } else if (Peek() == '\'') {  // a doubled quote stands for one quote
                content += '\'';
                ++pos_;
            } else {
                break;
            }
        }
        if (content.size() >= 2 && content.front() == '#' && content.back() == '#') {
            return ParseDateSpan(content.substr(1, content.size() - 2), open + 2);
        }
        return ItemFilter::Text{content};
    }

    // "date" or "date h:nn" or "date h:nn:ss"; content_position is where the text between
    // the '#' signs begins, for the error positions.
    ItemFilter::DateSpan ParseDateSpan(const std::string& content, std::size_t content_position) {
        std::size_t first = 0;
        while (first < content.size() && IsSpace(content[first])) {
            ++first;
        }
        std::size_t date_end = first;
        while (date_end < content.size() && !IsSpace(content[date_end])) {
            ++date_end;
        }
        const std::optional<DateTime> date =
            ParseShortDate(content.substr(first, date_end - first), settings_);
        if (!date) {
            FailAt(content_position + first, "expected a date in the short date format");
        }
        ItemFilter::DateSpan span{TimelineMs(*date), kMsPerDay};

        std::size_t time_start = date_end;
        while (time_start < content.size() && IsSpace(content[time_start])) {
            ++time_start;
        }
        const std::string time_text = Trim(content.substr(time_start));
        if (!time_text.empty()) {
            AddTime(time_text, content_position + time_start, span);
        }
        return span;
    }

    void AddTime(const std::string& time_text, std::size_t position, ItemFilter::DateSpan& span) {
        const char separator = settings_.time_separator;
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (;;) {
            const std::size_t next = time_text.find(separator, start);
            parts.push_back(time_text.substr(start, next - start));
            if (next == std::string::npos) {
                break;
            }
            start = next + 1;
        }
        const auto number = [&](const std::string& part, std::size_t min_digits,
                                std::size_t max_digits, int limit) {
            int value = -1;
            if (part.size() >= min_digits && part.size() <= max_digits) {
                const auto [end, error] =
                    std::from_chars(part.data(), part.data() + part.size(), value);
                if (error != std::errc() || end != part.data() + part.size()) {
                    value = -1;
                }
            }
            if (value < 0 || value > limit) {
                FailAt(position, "expected a time h:nn or h:nn:ss");
            }
            return value;
        };
        if (parts.size() < 2 || parts.size() > 3) {
            FailAt(position, "expected a time h:nn or h:nn:ss");
        }
        const int hours = number(parts[0], 1, 2, 23);
        const int minutes = number(parts[1], 2, 2, 59);
        const int seconds = parts.size() == 3 ? number(parts[2], 2, 2, 59) : 0;
        span.first_ms += hours * 60 * kMsPerMinute + minutes * kMsPerMinute;
        span.length_ms = kMsPerMinute;
        if (parts.size() == 3) {
            span.first_ms += seconds * kMsPerSecond;
            span.length_ms = kMsPerSecond;
        }
    }

    double ParseNumber() {
        const std::size_t start = pos_;
        if (Peek() == '-') {
            ++pos_;
        }
        while (!AtEnd() && (IsDigit(text_[pos_]) || text_[pos_] == '.')) {
            ++pos_;
        }
        double value = 0.0;
        const char* first = text_.data() + start;
        const char* last = text_.data() + pos_;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end != last) {
            FailAt(start, "expected a number");
        }
        return value;
    }

    const std::string& text_;
    const FormatSettings& settings_;
    std::size_t pos_ = 0;
};

}  // namespace

const char* LiteralKindName(const ItemFilter::Literal& literal) {
    switch (literal.index()) {
        case 0:
            return "True/False";
        case 1:
            return "a number";
        case 2:
            return "a text";
        default:
            return "a date";
    }
}

ItemFilterError::ItemFilterError(const std::string& filter, std::size_t position,
                                 const std::string& reason)
    : std::runtime_error("filter \"" + filter + "\", position " + std::to_string(position) + ": " +
                         reason),
      filter_(filter),
      position_(position) {}

bool ItemFilter::Matches(const PropertyAccessor& properties) const {
    return Evaluate(root_, properties);
}

bool ItemFilter::Evaluate(const Node& node, const PropertyAccessor& properties) const {
    if (node.kind == Node::Kind::Compare) {
        return Compare(node.comparison, properties);
    }
    const bool is_and = node.kind == Node::Kind::And;
    bool result = is_and;
    for (const Node& child : node.children) {
        const bool child_result = Evaluate(child, properties);
        result = is_and ? (result && child_result) : (result || child_result);
    }
    return result;
}

bool ItemFilter::Compare(const Comparison& comparison, const PropertyAccessor& properties) const {
    const std::optional<Variant> value = properties(comparison.property);
    if (!value) {
        throw ItemFilterError(text_, comparison.position,
                              "unknown property [" + comparison.property + "]");
    }
    // A property without a value equals nothing.
    if (std::holds_alternative<std::monostate>(*value)) {
        return comparison.op == Op::NotEqual;
    }
    const Literal& literal = comparison.literal;
    if (const auto* span = std::get_if<DateSpan>(&literal)) {
        if (const auto* date = std::get_if<DateTime>(&*value)) {
            return HoldsForSpan(comparison.op, TimelineMs(*date), *span);
        }
    } else if (const auto* flag = std::get_if<bool>(&literal)) {
        if (const auto* item_flag = std::get_if<bool>(&*value)) {
            return Holds(comparison.op, *item_flag <=> *flag);
        }
    } else if (const auto* number = std::get_if<double>(&literal)) {
        if (const auto* integer = std::get_if<std::int32_t>(&*value)) {
            return Holds(comparison.op, static_cast<double>(*integer) <=> *number);
        }
        if (const auto* real = std::get_if<double>(&*value)) {
            return Holds(comparison.op, *real <=> *number);
        }
    } else if (const auto* text = std::get_if<Text>(&literal)) {
        if (const auto* item_text = std::get_if<std::string>(&*value)) {
            // Texts compare without regard to case, as the object model's filters do.
            return Holds(comparison.op, FoldCase(*item_text) <=> FoldCase(text->value));
        }
    }
    throw ItemFilterError(
        text_, comparison.position,
        "[" + comparison.property + "] cannot be compared with " + LiteralKindName(literal));
}

ItemFilter ParseItemFilter(const std::string& text, const FormatSettings& settings) {
    FilterParser parser(text, settings);
    return ItemFilter(text, parser.ParseWhole());
}

}  // namespace planwarte
