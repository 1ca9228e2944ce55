#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/outlook/object_model.h"

namespace planwarte {

// The order Sort puts items in by one property, shared by every calendar source: values of
// one kind compare by value (texts without regard to case), a missing value comes first,
// values of different kinds by kind.
// A property name as the object model compares it, for Sort and for the filters' accessors:
// brackets stripped, letter case ignored.
std::string PropertyKey(const std::string& written);

std::partial_ordering CompareSortValues(const std::optional<Variant>& a,
                                        const std::optional<Variant>& b);

// The Sort of one Items collection: by one property, stable, so that equal values keep the
// folder's order in both directions. Unsorted until the first Sort.
class ItemSortOrder {
  public:
    // `items_have_it` says whether the folder's items have the property; those of an empty
    // folder have every one. Throws OutlookError naming Sort, keeping the order before,
    // when they have not.
    void Set(const std::string& property, bool descending, bool items_have_it);

    // Sorts the items, reading each one's value once by value_of(item, property).
    template <typename T, typename ValueOf>
    void Apply(std::vector<T>& items, ValueOf value_of) const {
        if (property_.empty()) {
            return;
        }
        std::vector<std::pair<std::optional<Variant>, std::size_t>> keys;
        keys.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            keys.emplace_back(value_of(items[i], property_), i);
        }
        std::stable_sort(keys.begin(), keys.end(), [this](const auto& a, const auto& b) {
            const std::partial_ordering order = CompareSortValues(a.first, b.first);
            return descending_ ? order > 0 : order < 0;
        });
        std::vector<T> sorted;
        sorted.reserve(items.size());
        for (const auto& key : keys) {
            sorted.push_back(std::move(items[key.second]));
        }
        items = std::move(sorted);
    }

  private:
    std::string property_;
    bool descending_ = false;
};

}  // namespace planwarte
