#include "core/outlook/item_filter_range.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <variant>

#include "core/outlook/item_sort_order.h"

namespace planwarte {

namespace {

using Node = ItemFilter::Node;
using Op = ItemFilter::Op;

constexpr std::int64_t kMsPerDay = 24 * 60 * 60 * 1000;
constexpr std::int64_t kNoLower = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kNoUpper = std::numeric_limits<std::int64_t>::max();

// What a matching item's times must meet, on the filter's millisecond line: one of them
// lies at or after `lower`, one of them (maybe another) before `upper`.
struct Bounds {
    std::int64_t lower = kNoLower;
    std::int64_t upper = kNoUpper;
};

bool IsTimeProperty(const std::string& name) {
    const std::string key = PropertyKey(name);
    return key == "start" || key == "end" || key == "duedate";
}

Bounds ComparisonBounds(const ItemFilter& filter, const ItemFilter::Comparison& comparison) {
    if (!IsTimeProperty(comparison.property)) {
        return {};
    }
    const auto* span = std::get_if<ItemFilter::DateSpan>(&comparison.literal);
    if (span == nullptr) {
        throw ItemFilterError(filter.FilterText(), comparison.position,
                              "[" + comparison.property + "] cannot be compared with " +
                                  LiteralKindName(comparison.literal));
    }
    const std::int64_t first = span->first_ms;
    const std::int64_t end = span->first_ms + span->length_ms;
    switch (comparison.op) {
        case Op::Equal:
            return {first, end};
        case Op::NotEqual:
            return {};
        case Op::Less:
            return {kNoLower, first};
        case Op::LessEqual:
            return {kNoLower, end};
        case Op::Greater:
            return {end, kNoUpper};
        case Op::GreaterEqual:
            return {first, kNoUpper};
    }
    return {};
}

Bounds NodeBounds(const ItemFilter& filter, const Node& node) {
    if (node.kind == Node::Kind::Compare) {
        return ComparisonBounds(filter, node.comparison);
    }
    const bool is_and = node.kind == Node::Kind::And;
    // Every child is read, so that a fault in any of them is reported.
    Bounds bounds = is_and ? Bounds{} : Bounds{kNoUpper, kNoLower};
    for (const Node& child : node.children) {
        const Bounds inner = NodeBounds(filter, child);
        if (is_and) {
            bounds.lower = std::max(bounds.lower, inner.lower);
            bounds.upper = std::min(bounds.upper, inner.upper);
        } else {
            bounds.lower = std::min(bounds.lower, inner.lower);
            bounds.upper = std::max(bounds.upper, inner.upper);
        }
    }
    return bounds;
}

void CollectLatest(const Node& node, std::optional<std::int64_t>& latest) {
    if (node.kind != Node::Kind::Compare) {
        for (const Node& child : node.children) {
            CollectLatest(child, latest);
        }
        return;
    }
    if (const auto* span = std::get_if<ItemFilter::DateSpan>(&node.comparison.literal)) {
        latest = std::max(latest.value_or(span->first_ms), span->first_ms);
    }
}

// The inverse of the filter's millisecond line: before the epoch the time of day counts
// forward from the negative day number.
DateTime FromTimelineMs(std::int64_t ms) {
    std::int64_t day = ms / kMsPerDay;
    std::int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        --day;
        rest += kMsPerDay;
    }
    const double fraction = static_cast<double>(rest) / static_cast<double>(kMsPerDay);
    const double whole = static_cast<double>(day);
    return DateTime(day >= 0 ? whole + fraction : whole - fraction);
}

}  // namespace

ItemFilterRange RangeOf(const ItemFilter& filter) {
    ItemFilterRange range;
    const Bounds bounds = NodeBounds(filter, filter.Root());
    std::optional<std::int64_t> latest;
    CollectLatest(filter.Root(), latest);
    if (latest) {
        range.latest = FromTimelineMs(*latest);
    }
    if (bounds.lower != kNoLower && bounds.upper != kNoUpper) {
        // "[Start] < a AND [End] >= b" with b after a asks for a time at or after b and one
        // before a; either way round, no time of a match lies outside the two.
        range.bounded = true;
        range.from = FromTimelineMs(std::min(bounds.lower, bounds.upper));
        range.to = FromTimelineMs(std::max(bounds.lower, bounds.upper));
    }
    return range;
}

}  // namespace planwarte
