#include "core/outlook/item_sort_order.h"

#include <cctype>
#include <string>
#include <type_traits>
#include <variant>

namespace planwarte {

namespace {

std::string Lowered(const std::string& text) {
    std::string lowered = text;
    for (char& c : lowered) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lowered;
}

}  // namespace

std::string PropertyKey(const std::string& written) {
    if (written.size() >= 2 && written.front() == '[' && written.back() == ']') {
        return Lowered(written.substr(1, written.size() - 2));
    }
    return Lowered(written);
}

std::partial_ordering CompareSortValues(const std::optional<Variant>& a,
                                        const std::optional<Variant>& b) {
    if (!a || !b) {
        return a.has_value() <=> b.has_value();
    }
    if (a->index() != b->index()) {
        return a->index() <=> b->index();
    }
    if (const auto* text = std::get_if<std::string>(&*a)) {
        return Lowered(*text) <=> Lowered(std::get<std::string>(*b));
    }
    return std::visit(
        [&](const auto& left) -> std::partial_ordering {
            using T = std::decay_t<decltype(left)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return std::partial_ordering::equivalent;
            } else {
                return left <=> std::get<T>(*b);
            }
        },
        *a);
}

void ItemSortOrder::Set(const std::string& property, bool descending, bool items_have_it) {
    if (!items_have_it) {
        throw OutlookError("Sort", "the items have no property " + property);
    }
    property_ = property;
    descending_ = descending;
}

}  // namespace planwarte
