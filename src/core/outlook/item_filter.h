#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "core/common/format_date_time.h"
#include "core/outlook/object_model.h"

// The item filters the program hands to Find: an OR of ANDs of comparisons such as
// "[Start] >= '#08.12.2004 0:00#'", "[Complete] = False" or "[Subject] = 'abc'", with
// parentheses for grouping. Every calendar source shares this evaluator, so that all of them
// select the same items for the same text.
namespace planwarte {

// A filter text that does not parse, or a comparison that cannot be evaluated. The position
// is the offset into the filter text (0 = its first character) where the fault was found.
class ItemFilterError : public std::runtime_error {
  public:
    ItemFilterError(const std::string& filter, std::size_t position, const std::string& reason);

    const std::string& Filter() const { return filter_; }
    std::size_t Position() const { return position_; }

  private:
    std::string filter_;
    std::size_t position_;
};

// Answers the value of a property by its name as written between the brackets; nullopt
// when the item has no such property.
using PropertyAccessor = std::function<std::optional<Variant>(const std::string& name)>;

class ItemFilter {
  public:
    enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

    // A date literal covers a span of time: the whole day for '#08.12.2004#', the whole
    // minute for '#08.12.2004 23:59#', the second when seconds are written. A value lies
    // "equal" to the literal anywhere inside the span, so "[Start] <= '#... 23:59#'" takes
    // a start at 23:59:30 and "[DueDate] = '#08.12.2004#'" a due date at any time that day.
    struct DateSpan {
        std::int64_t first_ms = 0;   // start of the span on a continuous millisecond line
        std::int64_t length_ms = 0;  // day, minute or second
    };
    struct Text {
        std::string value;
    };
    using Literal = std::variant<bool, double, Text, DateSpan>;

    struct Comparison {
        std::string property;
        std::size_t position = 0;  // of the opening bracket
        Op op = Op::Equal;
        Literal literal;
    };

    struct Node {
        enum class Kind { Or, And, Compare };
        Kind kind = Kind::Compare;
        std::vector<Node> children;  // Or, And
        Comparison comparison;       // Compare
    };

    ItemFilter(std::string text, Node root) : text_(std::move(text)), root_(std::move(root)) {}

    // Every comparison is evaluated, so a fault (an unknown property, a value of the wrong
    // kind) is reported for every item alike, not only for those that reach it.
    // Throws ItemFilterError.
    bool Matches(const PropertyAccessor& properties) const;

    const std::string& FilterText() const { return text_; }
    // The parsed filter, for a source that reads more from it than a match (its time range).
    const Node& Root() const { return root_; }

  private:
    bool Evaluate(const Node& node, const PropertyAccessor& properties) const;
    bool Compare(const Comparison& comparison, const PropertyAccessor& properties) const;

    std::string text_;
    Node root_;
};

// The kind of a literal as the error texts name it: "True/False", "a number", "a text", "a date".
const char* LiteralKindName(const ItemFilter::Literal& literal);

// Throws ItemFilterError naming the text and the position of the fault. Date literals are
// read in the short date format of the settings.
ItemFilter ParseItemFilter(const std::string& text,
                           const FormatSettings& settings = DefaultFormatSettings());

}  // namespace planwarte
